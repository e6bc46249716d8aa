// The picture list's rows and the full path each row stands for.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

// Inserts a checked row for the file at path, named name, at position (beyond the end appends),
// with its size and time columns; returns the row index, -1 on failure.
int32_t AddPictureRow(int32_t position, const std::string& name, const std::string& path,
                      const std::string& subfolder = std::string());
// The full path of row r's own file; empty for a row the application does not know.
std::string RowPath(int32_t row);
// The folder of row r's file relative to the folder picked in the tree; empty when none.
std::string RowSubfolder(int32_t row);

}  // namespace ruvelto::app
