#pragma once
// Files the browser's page keeps apart from its data package, such as a
// language's catalog and faces: fetched from beside the page into the file
// system, at the same relative paths, before the game opens them. A file
// already there is not fetched again, and one that cannot be fetched is left
// missing. On the desktop every file is there already.
#include <cstddef>
#include <string>
#include <vector>

void fetch_page_files(const std::vector<std::string>& files);

// A file the page left deflated beside path (PATH.deflate: a shared link's
// game), inflated into path a piece at a time, and given up once it comes to
// more than most bytes; the deflated file is removed, and path written only
// when whole. False, with why in error, for data that is not deflated or
// comes to more. True where there is none, as always on the desktop.
bool unpack_page_file(const std::string& path, size_t most, std::string& error);
