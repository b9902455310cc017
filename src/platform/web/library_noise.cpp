// The browser's SDL has no sound or display libraries of its own to quiet.
#include "platform/library_noise.h"

LIBRARY_NOISE_OFF::LIBRARY_NOISE_OFF() = default;
LIBRARY_NOISE_OFF::~LIBRARY_NOISE_OFF() = default;
