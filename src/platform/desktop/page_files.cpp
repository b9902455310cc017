#include "platform/page_files.h"

void fetch_page_files(const std::vector<std::string>&) {}
