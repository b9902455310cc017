#include "platform/file_problem.h"

#include <cstring>

#include "platform/catalog.h"
#include "platform/replace_file.h"

std::string read_problem(READ_RESULT result, int error) {
  switch (result) {
    case READ_RESULT::NOT_REGULAR:
      return tr("not a regular file");
    case READ_RESULT::TOO_LARGE:
      return tr("too large");
    case READ_RESULT::WHOLE:
      return "";
    case READ_RESULT::MISSING:
    case READ_RESULT::UNREADABLE:
      break;
  }
  return std::strerror(error);
}

std::string file_error_text(int error) {
  if (error == NOT_REGULAR_FILE) return tr("not a regular file, left alone");
  return std::strerror(error);
}
