// An IniStdIStream over a file on disk, opened in binary mode through the
// path resolver (not through the packs). A file that cannot be opened leaves
// the stream failed, which reads as empty.
#pragma once

#include "resources/ini/IniStdIStream.h"

#include <fstream>
#include <string>

namespace Tandry {

class IniStdIFile : public IniStdIStream {
public:
    explicit IniStdIFile(const std::string& path);

private:
    std::ifstream mFile;
};

} // namespace Tandry
