#include "platform/face_file.h"

void make_face_file_ready(const char*) {}
