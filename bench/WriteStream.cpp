// Writes the benchmark's in-memory zone-transfer stream to a file, for a
// scripted server to send: vek-axfr-stream RECORDS FILE
#include <cstdio>
#include <cstdlib>

#include "AxfrStream.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vek-axfr-stream RECORDS FILE\n", stderr);
        return 2;
    }
    const AxfrStream stream = BuildAxfrStream(std::strtoul(argv[1], nullptr, 10));
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    const bool written =
        std::fwrite(stream.bytes.data(), 1, stream.bytes.size(), out) == stream.bytes.size();
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[2]);
        return 1;
    }
    std::printf("%zu records in %zu messages, %zu bytes\n", stream.records, stream.messages,
                stream.bytes.size());
    return 0;
}
