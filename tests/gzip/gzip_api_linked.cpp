// The host build of the DLL's source, linked in.
#include "tests/gzip/gzip_test_support.h"

namespace gziptest {

const Api& api() {
    static const Api functions{
        &::InitCompression,
        &::DeInitCompression,
        &::CreateCompression,
        &::Compress,
        &::Compress2,
        &::ResetCompression,
        &::DestroyCompression,
        &::InitDecompression,
        &::DeInitDecompression,
        &::CreateDecompression,
        &::Decompress,
        &::ResetDecompression,
        &::DestroyDecompression,
    };
    return functions;
}

}  // namespace gziptest
