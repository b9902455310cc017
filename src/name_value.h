#pragma once
#include <string>

// The "name = value" lines of the settings file and a replay's header.

// text without the spaces, tabs and carriage returns around it.
std::string trim(const std::string& text);

// Splits line at its first '=' into its trimmed two sides; false, leaving
// name and value alone, when the line has no '='.
bool split_name_value(const std::string& line, std::string& name, std::string& value);
