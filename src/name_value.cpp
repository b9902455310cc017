#include "name_value.h"

std::string trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool split_name_value(const std::string& line, std::string& name, std::string& value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  name = trim(line.substr(0, equals));
  value = trim(line.substr(equals + 1));
  return true;
}
