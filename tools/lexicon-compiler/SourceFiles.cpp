// SPDX-License-Identifier: GPL-3.0-or-later
#include "SourceFiles.h"

#include <zlib.h>

#include <fstream>

#include "Sha256.h"

namespace tessel::compiler {

Result<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("cannot open " + path.string());
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0) return fail("cannot read " + path.string());
    bytes.resize(static_cast<std::size_t>(size));
    in.seekg(0, std::ios::beg);
    if (!in.read(bytes.data(), size)) return fail("cannot read " + path.string());
    return bytes;
}

Result<std::string> readGzipFile(const std::filesystem::path& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) return fail("cannot open " + path.string());
    gzbuffer(file, 1 << 20);
    std::string bytes;
    std::string chunk(1 << 20, '\0');
    for (;;) {
        const int got = gzread(file, chunk.data(), static_cast<unsigned>(chunk.size()));
        if (got < 0) {
            int code = 0;
            std::string message = gzerror(file, &code);
            gzclose(file);
            return fail("cannot decompress " + path.string() + ": " + message);
        }
        if (got == 0) break;
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    // A truncated stream reads as a short file without an error from gzread; gzclose reports it.
    if (gzclose(file) != Z_OK) return fail("cannot decompress " + path.string());
    return bytes;
}

Result<std::string> fileSha256(const std::filesystem::path& path) {
    auto bytes = readWholeFile(path);
    if (!bytes) return tl::unexpected(bytes.error());
    return Sha256::hex(*bytes);
}

}  // namespace tessel::compiler
