#pragma once
// Files the browser's page keeps apart from its data package, such as a
// language's catalog and faces: fetched from beside the page into the file
// system, at the same relative paths, before the game opens them. A file
// already there is not fetched again, and one that cannot be fetched is left
// missing. On the desktop every file is there already.
#include <string>
#include <vector>

void fetch_page_files(const std::vector<std::string>& files);
