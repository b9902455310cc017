// In the browser the settings are kept beside the records, in the directory
// the browser keeps across visits.
#include "platform/settings_location.h"

std::string settings_path() { return "/records/settings.conf"; }
