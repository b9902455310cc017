#include "platform/face_file.h"

#include "platform/regular_file.h"

bool make_face_file_ready(const char* file) {
  return regular_file_kind(file) == FILE_KIND::REGULAR;
}
