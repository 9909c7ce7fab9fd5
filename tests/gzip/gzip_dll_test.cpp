// GZIP.dll through its exported functions: natively against the host build of its
// source, and under 32-bit Wine against the product DLL loaded by the plain export names.
#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <tuple>

#include "tests/gzip/gzip_test_support.h"

using namespace gziptest;

namespace {

struct Format {
    const char* name;
    ULONG flags;
    int window_bits;  // how zlib reads the stream
};
void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}
const Format kGzip{"gzip", GZDLL_FLAG_GZIP, 15 + 16};
const Format kDeflate{"deflate", GZDLL_FLAG_DEFLATE, -15};

// Reference zlib, in one go. window_bits: 15 + 16 gzip, 15 zlib, -15 raw deflate.
Bytes zlib_deflate(std::span<const unsigned char> data, int window_bits) {
    z_stream zs{};
    EXPECT_EQ(deflateInit2(&zs, 6, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(deflateBound(&zs, static_cast<uLong>(data.size())));
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = out.data();
    zs.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// *ended: whether the stream's end was reached; when not asked for, it must be.
Bytes zlib_inflate(std::span<const unsigned char> data, int window_bits, bool* ended = nullptr) {
    z_stream zs{};
    EXPECT_EQ(inflateInit2(&zs, window_bits), Z_OK);
    zs.next_in = const_cast<Bytef*>(data.data());
    zs.avail_in = static_cast<uInt>(data.size());
    Bytes out;
    unsigned char buffer[16384];
    int rc;
    do {
        zs.next_out = buffer;
        zs.avail_out = sizeof buffer;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), buffer, buffer + (sizeof buffer - zs.avail_out));
    } while (rc == Z_OK);
    if (ended) {
        *ended = rc == Z_STREAM_END;
    } else {
        EXPECT_EQ(rc, Z_STREAM_END) << (zs.msg ? zs.msg : "");
    }
    inflateEnd(&zs);
    return out;
}

Bytes concat(const Bytes& a, const Bytes& b) {
    Bytes out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

// ---- round trips --------------------------------------------------------------------

class RoundTrip : public testing::TestWithParam<std::tuple<Format, int>> {};

TEST_P(RoundTrip, EmptyOneByteAndMoreThroughSmallAndLargeBuffers) {
    const auto [format, level] = GetParam();
    for (size_t size : {0, 1, 100000}) {
        const Bytes data = sample(size, static_cast<uint32_t>(size + level));
        for (Buffers buffers : {Buffers::large(), Buffers::small()}) {
            SCOPED_TRACE(std::to_string(size) + " bytes, " + describe(buffers));
            const Bytes packed = compress_all(format.flags, level, data, buffers);
            EXPECT_EQ(decompress_all(format.flags, packed, buffers), data);
            EXPECT_EQ(zlib_inflate(packed, format.window_bits), data);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, RoundTrip, testing::Combine(testing::Values(kGzip, kDeflate), testing::Range(0, 11)),
                         [](const testing::TestParamInfo<RoundTrip::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "_level_" +
                                    std::to_string(std::get<1>(info.param));
                         });

TEST(RoundTripMegabytes, SmallAndLargeBuffers) {
    const Bytes data = sample(3 << 20, 7);
    const struct {
        Format format;
        int level;
        Buffers compress;
        Buffers decompress;
    } cases[] = {
        {kGzip, 6, Buffers::small(), Buffers::small()},
        {kGzip, 10, Buffers::large(), Buffers{7, 1 << 20}},
        {kDeflate, 0, Buffers::large(), Buffers::large()},
        {kDeflate, 1, Buffers{1 << 20, 5}, Buffers::large()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format.name) + " level " + std::to_string(c.level) + ", compress with " +
                     describe(c.compress) + ", decompress with " + describe(c.decompress));
        const Bytes packed = compress_all(c.format.flags, c.level, data, c.compress);
        EXPECT_TRUE(decompress_all(c.format.flags, packed, c.decompress) == data);
    }
}

TEST(Levels, ZeroStillCompressesTenIsSmallestOthersAreClamped) {
    const Bytes data = sample(300000, 3);
    std::vector<Bytes> packed;
    for (int level = 0; level <= 10; ++level)
        packed.push_back(compress_all(GZDLL_FLAG_GZIP, level, data));
    EXPECT_LT(packed[0].size(), data.size() * 6 / 10);  // zlib's own level 0 would store
    EXPECT_LT(packed[9].size(), packed[1].size());
    EXPECT_LT(packed[10].size(), packed[9].size());
    EXPECT_TRUE(compress_all(GZDLL_FLAG_GZIP, -1, data) == packed[0]);
    EXPECT_TRUE(compress_all(GZDLL_FLAG_GZIP, 50, data) == packed[10]);

    // The first call sets the level; later calls of the stream do not change it.
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateCompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    Bytes out(data.size() + 1000);
    LONG used = 0, written = 0;
    ASSERT_EQ(api().Compress(context, data.data(), 1000, out.data(), 100000, &used, &written, 1), GZDLL_S_OK);
    out.resize(written);
    Outcome rest = compress(context, std::span(data).subspan(used), 9, Buffers::large());
    EXPECT_TRUE(concat(out, rest.output) == packed[1]);
    api().DestroyCompression(context);
}

TEST(Flags, BitZeroSelectsGzipAnyOtherBitsAreIgnored) {
    const Bytes data = sample(5000, 4);
    for (ULONG flags : {0x0u, 0x1u, 0x2u, 0x3u, 0xFFFFFFFFu}) {
        SCOPED_TRACE("flags " + std::to_string(flags));
        const bool gzip = flags & 1;
        const Bytes packed = compress_all(flags, 6, data);
        ASSERT_GE(packed.size(), 3u);
        EXPECT_EQ(packed[0] == 0x1F && packed[1] == 0x8B && packed[2] == 8, gzip);
        EXPECT_EQ(zlib_inflate(packed, gzip ? kGzip.window_bits : kDeflate.window_bits), data);
        EXPECT_EQ(decompress_all(flags, packed), data);
    }
}

TEST(Interop, DecompressesWhatZlibMade) {
    const struct {
        const char* what;
        ULONG flags;
        int window_bits;
    } cases[] = {
        {"gzip", GZDLL_FLAG_GZIP, 15 + 16},
        {"zlib-wrapped, as many servers send deflate", GZDLL_FLAG_GZIP, 15},
        {"raw deflate", GZDLL_FLAG_DEFLATE, -15},
    };
    for (const auto& c : cases) {
        for (size_t size : {0, 1, 50000}) {
            const Bytes data = sample(size, 5);
            for (Buffers buffers : {Buffers::large(), Buffers::small()}) {
                SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(size) + " bytes, " + describe(buffers));
                EXPECT_EQ(decompress_all(c.flags, zlib_deflate(data, c.window_bits), buffers), data);
            }
        }
    }
}

// ---- how streams end ------------------------------------------------------------------

TEST(CompressEnd, SFalseOnlyForTheFinishingCallsThenNoMoreInput) {
    const Bytes data = sample(5000, 6);
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateCompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    const Outcome run = compress(context, data, 6, Buffers::small());  // fails on an early S_FALSE
    EXPECT_EQ(run.result, GZDLL_S_FALSE);
    unsigned char out[16];
    LONG used = -1, written = -1;
    EXPECT_EQ(api().Compress(context, nullptr, 0, out, sizeof out, &used, &written, 6), GZDLL_S_FALSE);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(api().Compress(context, data.data(), 10, out, sizeof out, &used, &written, 6), GZDLL_E_FAIL);
    EXPECT_EQ(used, 0);
    api().DestroyCompression(context);
}

// Callers that compress in one call and never make the finishing call with no input get
// an unfinished stream. The finishing call still completes it.
TEST(CompressEnd, WithoutTheFinishingCallTheStreamIsUnfinished) {
    const Bytes data = sample(5000, 7);
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateCompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    Bytes out(data.size());
    LONG used = 0, written = 0;
    ASSERT_EQ(api().Compress(context, data.data(), static_cast<LONG>(data.size()), out.data(), static_cast<LONG>(out.size()),
                             &used, &written, 9),
              GZDLL_S_OK);
    EXPECT_EQ(used, static_cast<LONG>(data.size()));
    out.resize(written);
    bool ended = true;
    zlib_inflate(out, kGzip.window_bits, &ended);
    EXPECT_FALSE(ended);

    const Outcome rest = compress(context, {}, 9, Buffers::large());
    EXPECT_EQ(rest.result, GZDLL_S_FALSE);
    EXPECT_EQ(zlib_inflate(concat(out, rest.output), kGzip.window_bits), data);
    api().DestroyCompression(context);
}

// The one-shot caller: the whole member in, an output buffer of exactly ISIZE bytes, and
// success only on 0 with all of it written.
TEST(DecompressEnd, OneShotIntoIsizeBytesReturnsSOkThenSFalse) {
    for (size_t size : {0, 1, 1000, 200000}) {
        SCOPED_TRACE(std::to_string(size) + " bytes");
        const Bytes data = sample(size, 8);
        const Bytes packed = compress_all(GZDLL_FLAG_GZIP, 10, data);
        const size_t isize = packed[packed.size() - 4] | packed[packed.size() - 3] << 8 | packed[packed.size() - 2] << 16 |
                             static_cast<size_t>(packed[packed.size() - 1]) << 24;
        ASSERT_EQ(isize, size);
        PVOID context = nullptr;
        ASSERT_EQ(api().CreateDecompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
        Bytes out(isize);
        LONG used = -1, written = -1;
        EXPECT_EQ(api().Decompress(context, packed.data(), static_cast<LONG>(packed.size()), out.data(),
                                   static_cast<LONG>(out.size()), &used, &written),
                  GZDLL_S_OK);
        EXPECT_EQ(used, static_cast<LONG>(packed.size()));
        EXPECT_EQ(written, static_cast<LONG>(isize));
        EXPECT_TRUE(out == data);
        EXPECT_EQ(api().Decompress(context, nullptr, 0, out.data(), static_cast<LONG>(out.size()), &used, &written),
                  GZDLL_S_FALSE);
        EXPECT_EQ(used, 0);
        EXPECT_EQ(written, 0);
        api().DestroyDecompression(context);
    }
}

TEST(DecompressEnd, StopsAtTheEndOfTheStreamAndLeavesWhatFollows) {
    const Bytes data = sample(3000, 9);
    const Bytes packed = compress_all(GZDLL_FLAG_GZIP, 6, data);
    const Bytes input = concat(packed, Bytes{'m', 'o', 'r', 'e'});
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateDecompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    Bytes out(10000);
    LONG used = -1, written = -1;
    EXPECT_EQ(api().Decompress(context, input.data(), static_cast<LONG>(input.size()), out.data(), 10000, &used, &written),
              GZDLL_S_OK);
    EXPECT_EQ(used, static_cast<LONG>(packed.size()));
    EXPECT_EQ(written, static_cast<LONG>(data.size()));
    EXPECT_EQ(api().Decompress(context, input.data() + used, 4, out.data(), 10000, &used, &written), GZDLL_S_FALSE);
    EXPECT_EQ(used, 0);
    EXPECT_EQ(written, 0);
    api().DestroyDecompression(context);
}

TEST(DecompressEnd, NoOutputSpaceFailsInsteadOfLoopingAndTheStreamGoesOn) {
    const Bytes data = sample(5000, 10);
    const Bytes packed = compress_all(GZDLL_FLAG_GZIP, 6, data);
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateDecompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    unsigned char nothing[1];
    size_t offset = 0;
    HRESULT hr = GZDLL_S_OK;
    for (int calls = 0; hr == GZDLL_S_OK && calls < 20; ++calls) {
        LONG used = -1, written = -1;
        hr = api().Decompress(context, packed.data() + offset, static_cast<LONG>(packed.size() - offset), nothing, 0, &used,
                              &written);
        offset += used;
    }
    EXPECT_EQ(hr, GZDLL_E_NO_OUTPUT_SPACE);
    const Outcome rest = decompress(context, std::span(packed).subspan(offset), Buffers::small());
    EXPECT_EQ(rest.result, GZDLL_S_FALSE);
    EXPECT_TRUE(rest.output == data);
    api().DestroyDecompression(context);
}

// `while (hr == S_OK)` loops over a cut-off stream must end, with a failure, after no
// more calls than there are bytes to make progress with.
TEST(DecompressEnd, TruncatedInputEndsCallerLoopsWithAFailure) {
    const Bytes data = sample(20000, 11);
    for (const Format& format : {kGzip, kDeflate}) {
        const Bytes packed = compress_all(format.flags, 6, data);
        for (size_t cut :
             {size_t{0}, size_t{1}, size_t{2}, size_t{9}, size_t{10}, packed.size() / 2, packed.size() - 8, packed.size() - 1}) {
            for (Buffers buffers : {Buffers::large(), Buffers::small()}) {
                SCOPED_TRACE(std::string(format.name) + " cut to " + std::to_string(cut) + " of " +
                             std::to_string(packed.size()) + " bytes, " + describe(buffers));
                PVOID context = nullptr;
                ASSERT_EQ(api().CreateDecompression(&context, format.flags), GZDLL_S_OK);
                const Outcome run = decompress(context, std::span(packed).first(cut), buffers, cut + data.size() + 2);
                EXPECT_EQ(run.result, GZDLL_E_END_OF_INPUT) << hr_text(run.result);
                EXPECT_TRUE(std::equal(run.output.begin(), run.output.end(), data.begin()));
                unsigned char out[16];
                LONG used = -1, written = -1;
                EXPECT_EQ(api().Decompress(context, nullptr, 0, out, sizeof out, &used, &written), GZDLL_E_END_OF_INPUT);
                api().DestroyDecompression(context);
            }
        }
    }
}

TEST(DecompressEnd, CorruptInputFailsAndKeepsFailing) {
    const Bytes packed = compress_all(GZDLL_FLAG_GZIP, 6, sample(20000, 12));
    auto changed = [&packed](size_t at, unsigned char mask) {
        Bytes copy = packed;
        copy[at] ^= mask;
        return copy;
    };
    const struct {
        const char* what;
        ULONG flags;
        Bytes input;
    } cases[] = {
        {"no gzip magic", GZDLL_FLAG_GZIP, changed(0, 0xFF)},
        {"unknown method", GZDLL_FLAG_GZIP, changed(2, 0x0F)},
        {"a changed byte in the middle", GZDLL_FLAG_GZIP, changed(packed.size() / 2, 0x10)},
        {"a changed CRC", GZDLL_FLAG_GZIP, changed(packed.size() - 8, 0x01)},
        {"a changed length", GZDLL_FLAG_GZIP, changed(packed.size() - 4, 0x01)},
        {"the reserved block type", GZDLL_FLAG_DEFLATE, Bytes{0xFF, 0xFF, 0xFF, 0xFF}},
        {"a stored block whose length check fails", GZDLL_FLAG_DEFLATE, Bytes{0x01, 0x05, 0x00, 0x00, 0x00, 'a'}},
    };
    for (const auto& c : cases) {
        for (Buffers buffers : {Buffers::large(), Buffers::small()}) {
            SCOPED_TRACE(std::string(c.what) + ", " + describe(buffers));
            PVOID context = nullptr;
            ASSERT_EQ(api().CreateDecompression(&context, c.flags), GZDLL_S_OK);
            const Outcome run = decompress(context, c.input, buffers);
            EXPECT_EQ(run.result, GZDLL_E_INVALID_DATA) << hr_text(run.result);
            unsigned char out[16];
            LONG used = -1, written = -1;
            EXPECT_EQ(api().Decompress(context, c.input.data(), 1, out, sizeof out, &used, &written), GZDLL_E_INVALID_DATA);
            api().DestroyDecompression(context);
        }
    }
}

// ---- Reset and Compress2 --------------------------------------------------------------

TEST(Reset, CompressionStartsANewStreamWithTheLevelOfItsFirstCall) {
    const Bytes a = sample(30000, 13), b = sample(30000, 14);
    const Bytes b_alone = compress_all(GZDLL_FLAG_GZIP, 9, b);
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateCompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);

    const Outcome first = compress(context, a, 1, Buffers::large());
    EXPECT_EQ(first.result, GZDLL_S_FALSE);
    EXPECT_EQ(api().ResetCompression(context), GZDLL_S_OK);
    const Outcome second = compress(context, b, 9, Buffers::large());
    EXPECT_TRUE(second.output == b_alone);
    EXPECT_EQ(zlib_inflate(first.output, kGzip.window_bits), a);

    // In the middle of a stream: what was offered before the reset is dropped.
    EXPECT_EQ(api().ResetCompression(context), GZDLL_S_OK);
    unsigned char out[64];
    LONG used = 0, written = 0;
    ASSERT_EQ(api().Compress(context, a.data(), 20000, out, sizeof out, &used, &written, 1), GZDLL_S_OK);
    EXPECT_EQ(api().ResetCompression(context), GZDLL_S_OK);
    EXPECT_TRUE(compress(context, b, 9, Buffers::small()).output == b_alone);
    api().DestroyCompression(context);
}

TEST(Reset, DecompressionReadsANewStream) {
    const Bytes a = sample(30000, 15), b = sample(20000, 16);
    const Bytes packed_a = compress_all(GZDLL_FLAG_GZIP, 6, a), packed_b = compress_all(GZDLL_FLAG_GZIP, 6, b);
    PVOID context = nullptr;
    ASSERT_EQ(api().CreateDecompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
    EXPECT_TRUE(decompress(context, packed_a, Buffers::large()).output == a);
    EXPECT_EQ(api().ResetDecompression(context), GZDLL_S_OK);
    Outcome run = decompress(context, packed_b, Buffers::small());
    EXPECT_EQ(run.result, GZDLL_S_FALSE);
    EXPECT_TRUE(run.output == b);

    EXPECT_EQ(api().ResetDecompression(context), GZDLL_S_OK);
    decompress(context, std::span(packed_a).first(packed_a.size() / 2), Buffers::large());
    EXPECT_EQ(api().ResetDecompression(context), GZDLL_S_OK);
    run = decompress(context, packed_b, Buffers::large());
    EXPECT_EQ(run.result, GZDLL_S_FALSE);
    EXPECT_TRUE(run.output == b);
    api().DestroyDecompression(context);
}

// Runs one Compress2 operation to its end: PROCESS until the input is taken, FLUSH and
// FINISH until S_FALSE.
HRESULT operate(PVOID context, std::span<const unsigned char> input, int operation, Buffers buffers, Bytes& out) {
    Bytes buffer(buffers.output ? buffers.output : 16);
    size_t offset = 0;
    for (size_t call = 0; call < 4 * (input.size() + 1024); ++call) {
        const LONG offered = std::min<LONG>(static_cast<LONG>(input.size() - offset), buffers.input ? buffers.input : 5);
        // FLUSH needs 7 bytes of room.
        const LONG small = operation == GZDLL_OPERATION_FLUSH ? 7 : 1;
        const LONG room = buffers.output ? buffers.output : static_cast<LONG>(small + call % 7);
        LONG used = -1, written = -1;
        const HRESULT hr =
            api().Compress2(context, input.data() + offset, offered, buffer.data(), room, &used, &written, 6, operation);
        if (hr < 0)
            return hr;
        offset += used;
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
        if (operation == GZDLL_OPERATION_PROCESS ? offset == input.size() : hr == GZDLL_S_FALSE)
            return hr;
    }
    ADD_FAILURE() << "operation " << operation << " did not end";
    return GZDLL_E_FAIL;
}

TEST(Compress2, FlushMakesTheInputSoFarReadableAndFinishEnds) {
    const Bytes a = sample(10000, 17), b = sample(10000, 18);
    for (Buffers buffers : {Buffers::large(), Buffers::small(), Buffers{5, 7}}) {
        SCOPED_TRACE(describe(buffers));
        PVOID context = nullptr;
        ASSERT_EQ(api().CreateCompression(&context, GZDLL_FLAG_GZIP), GZDLL_S_OK);
        Bytes out;
        EXPECT_EQ(operate(context, a, GZDLL_OPERATION_PROCESS, buffers, out), GZDLL_S_OK);
        EXPECT_EQ(operate(context, {}, GZDLL_OPERATION_FLUSH, buffers, out), GZDLL_S_FALSE);
        bool ended = true;
        EXPECT_TRUE(zlib_inflate(out, kGzip.window_bits, &ended) == a);
        EXPECT_FALSE(ended);
        // Nothing to do: done at once, not S_OK forever.
        EXPECT_EQ(operate(context, {}, GZDLL_OPERATION_PROCESS, buffers, out), GZDLL_S_FALSE);
        EXPECT_EQ(operate(context, {}, GZDLL_OPERATION_FLUSH, buffers, out), GZDLL_S_FALSE);

        EXPECT_EQ(operate(context, b, GZDLL_OPERATION_PROCESS, buffers, out), GZDLL_S_OK);
        EXPECT_EQ(operate(context, {}, GZDLL_OPERATION_FINISH, buffers, out), GZDLL_S_FALSE);
        EXPECT_TRUE(decompress_all(GZDLL_FLAG_GZIP, out) == concat(a, b));
        api().DestroyCompression(context);
    }
}

// ---- contexts and arguments ------------------------------------------------------------

struct Kind {
    const char* name;
    bool compress;
};
const Kind kKinds[] = {{"compression", true}, {"decompression", false}};

PVOID create(const Kind& kind) {
    PVOID context = nullptr;
    const HRESULT hr =
        kind.compress ? api().CreateCompression(&context, GZDLL_FLAG_GZIP) : api().CreateDecompression(&context, GZDLL_FLAG_GZIP);
    EXPECT_EQ(hr, GZDLL_S_OK);
    EXPECT_NE(context, nullptr);
    return context;
}

HRESULT destroy(const Kind& kind, PVOID p) {
    return kind.compress ? api().DestroyCompression(p) : api().DestroyDecompression(p);
}

// The first call of a new stream through the context: S_OK while it lives, E_INVALIDARG
// once it is gone.
HRESULT first_call(const Kind& kind, PVOID context) {
    static const unsigned char gzip_header[] = {0x1F, 0x8B, 8, 0, 0, 0, 0, 0, 0, 3};
    unsigned char out[64];
    LONG used = -1, written = -1;
    const HRESULT reset = kind.compress ? api().ResetCompression(context) : api().ResetDecompression(context);
    if (reset != GZDLL_S_OK)
        return reset;
    return kind.compress ? api().Compress(context, gzip_header, 1, out, sizeof out, &used, &written, 6)
                         : api().Decompress(context, gzip_header, sizeof gzip_header, out, sizeof out, &used, &written);
}

TEST(Create, NeedsAPlaceForTheContext) {
    EXPECT_EQ(api().CreateCompression(nullptr, GZDLL_FLAG_GZIP), GZDLL_E_INVALIDARG);
    EXPECT_EQ(api().CreateDecompression(nullptr, GZDLL_FLAG_GZIP), GZDLL_E_INVALIDARG);
}

// VB6 code declares DestroyDecompression's argument ByRef: the DLL gets the address of
// the variable that holds the context.
TEST(Destroy, GivenTheAddressOfTheHandleDestroysThatContext) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        PVOID context = create(kind);
        PVOID other = create(kind);
        EXPECT_EQ(destroy(kind, &context), GZDLL_S_OK);
        EXPECT_EQ(first_call(kind, context), GZDLL_E_INVALIDARG);
        EXPECT_EQ(first_call(kind, other), GZDLL_S_OK);
        destroy(kind, other);
    }
}

TEST(Destroy, IgnoresNullRepeatsAndStrangersAndKeepsLiveContexts) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        PVOID live = create(kind);
        PVOID gone = create(kind);
        ASSERT_EQ(destroy(kind, gone), GZDLL_S_OK);
        PVOID holds_gone = gone;
        PVOID holds_null = nullptr;
        uintptr_t holds_garbage = static_cast<uintptr_t>(0xDEADBEEFu);
        auto heap = std::make_unique<unsigned char[]>(64);
        const std::pair<const char*, PVOID> strangers[] = {
            {"NULL", nullptr},
            {"a destroyed context", gone},
            {"the address of a variable holding a destroyed context", &holds_gone},
            {"the address of a variable holding NULL", &holds_null},
            {"the address of a variable holding garbage", &holds_garbage},
            {"zeroed heap memory", heap.get()},
        };
        for (const auto& [what, p] : strangers) {
            SCOPED_TRACE(what);
            EXPECT_EQ(destroy(kind, p), GZDLL_S_OK);
            EXPECT_EQ(first_call(kind, live), GZDLL_S_OK);
        }
        destroy(kind, live);
    }
}

TEST(Contexts, UnknownDestroyedOrOtherKindAreRejected) {
    PVOID compression = create(kKinds[0]);
    PVOID decompression = create(kKinds[1]);
    PVOID gone = create(kKinds[0]);
    destroy(kKinds[0], gone);
    PVOID local = nullptr;
    unsigned char in[4] = {}, out[64];
    LONG used = -1, written = -1;
    const struct {
        const char* what;
        PVOID compress;    // given to Compress, Compress2 and ResetCompression
        PVOID decompress;  // given to Decompress and ResetDecompression
    } cases[] = {
        {"NULL", nullptr, nullptr},
        {"a destroyed context", gone, gone},
        {"the address of a variable", &local, &local},
        {"a context of the other kind", decompression, compression},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(api().Compress(c.compress, in, 4, out, 64, &used, &written, 6), GZDLL_E_INVALIDARG);
        EXPECT_EQ(api().Compress2(c.compress, in, 4, out, 64, &used, &written, 6, GZDLL_OPERATION_FINISH), GZDLL_E_INVALIDARG);
        EXPECT_EQ(api().ResetCompression(c.compress), GZDLL_E_INVALIDARG);
        EXPECT_EQ(api().Decompress(c.decompress, in, 4, out, 64, &used, &written), GZDLL_E_INVALIDARG);
        EXPECT_EQ(api().ResetDecompression(c.decompress), GZDLL_E_INVALIDARG);
    }
    destroy(kKinds[0], compression);
    destroy(kKinds[1], decompression);
}

TEST(Arguments, BadOnesAreRejectedAndTheStreamIsUnharmed) {
    const Bytes data = sample(3000, 19);
    unsigned char in[4] = {1, 2, 3, 4}, out[64];
    LONG used = 0, written = 0;
    using Call = std::function<HRESULT(PVOID)>;
    const std::pair<const char*, Call> compress_calls[] = {
        {"negative input size", [&](PVOID c) { return api().Compress(c, in, -1, out, 64, &used, &written, 6); }},
        {"no input buffer", [&](PVOID c) { return api().Compress(c, nullptr, 4, out, 64, &used, &written, 6); }},
        {"no output space", [&](PVOID c) { return api().Compress(c, in, 4, out, 0, &used, &written, 6); }},
        {"negative output size", [&](PVOID c) { return api().Compress(c, in, 4, out, -5, &used, &written, 6); }},
        {"no output buffer", [&](PVOID c) { return api().Compress(c, in, 4, nullptr, 64, &used, &written, 6); }},
        {"no input_used", [&](PVOID c) { return api().Compress(c, in, 4, out, 64, nullptr, &written, 6); }},
        {"no output_used", [&](PVOID c) { return api().Compress(c, in, 4, out, 64, &used, nullptr, 6); }},
        {"operation 3", [&](PVOID c) { return api().Compress2(c, in, 4, out, 64, &used, &written, 6, 3); }},
        {"operation -1", [&](PVOID c) { return api().Compress2(c, in, 4, out, 64, &used, &written, 6, -1); }},
        {"flush with less than 7 bytes of room",
         [&](PVOID c) { return api().Compress2(c, in, 4, out, 6, &used, &written, 6, GZDLL_OPERATION_FLUSH); }},
    };
    PVOID context = create(kKinds[0]);
    for (const auto& [what, call] : compress_calls) {
        SCOPED_TRACE(what);
        EXPECT_EQ(call(context), GZDLL_E_INVALIDARG);
    }
    Outcome run = compress(context, data, 6, Buffers::small());
    EXPECT_EQ(zlib_inflate(run.output, kGzip.window_bits), data);
    destroy(kKinds[0], context);

    const Bytes packed = compress_all(GZDLL_FLAG_GZIP, 6, data);
    const std::pair<const char*, Call> decompress_calls[] = {
        {"negative input size", [&](PVOID c) { return api().Decompress(c, in, -1, out, 64, &used, &written); }},
        {"no input buffer", [&](PVOID c) { return api().Decompress(c, nullptr, 4, out, 64, &used, &written); }},
        {"negative output size", [&](PVOID c) { return api().Decompress(c, in, 4, out, -1, &used, &written); }},
        {"no output buffer", [&](PVOID c) { return api().Decompress(c, in, 4, nullptr, 64, &used, &written); }},
        {"no input_used", [&](PVOID c) { return api().Decompress(c, in, 4, out, 64, nullptr, &written); }},
        {"no output_used", [&](PVOID c) { return api().Decompress(c, in, 4, out, 64, &used, nullptr); }},
    };
    context = create(kKinds[1]);
    for (const auto& [what, call] : decompress_calls) {
        SCOPED_TRACE(what);
        EXPECT_EQ(call(context), GZDLL_E_INVALIDARG);
    }
    run = decompress(context, packed, Buffers::small());
    EXPECT_EQ(run.result, GZDLL_S_FALSE);
    EXPECT_TRUE(run.output == data);
    destroy(kKinds[1], context);
}

// Some callers wrap every buffer in Init/DeInit, others de-initialise before destroying.
TEST(Init, RepeatableAndDeInitLeavesContextsAlive) {
    EXPECT_EQ(api().InitCompression(), GZDLL_S_OK);
    EXPECT_EQ(api().InitCompression(), GZDLL_S_OK);
    EXPECT_EQ(api().InitDecompression(), GZDLL_S_OK);
    EXPECT_EQ(api().InitDecompression(), GZDLL_S_OK);
    PVOID compression = create(kKinds[0]);
    PVOID decompression = create(kKinds[1]);
    EXPECT_EQ(api().DeInitCompression(), GZDLL_S_OK);
    EXPECT_EQ(api().DeInitDecompression(), GZDLL_S_OK);
    const Bytes data = sample(2000, 20);
    const Outcome packed = compress(compression, data, 6, Buffers::large());
    EXPECT_EQ(packed.result, GZDLL_S_FALSE);
    EXPECT_TRUE(decompress(decompression, packed.output, Buffers::large()).output == data);
    destroy(kKinds[0], compression);
    destroy(kKinds[1], decompression);
}

// Separate contexts on separate threads, created and destroyed all the time: contexts
// come from a shared pool.
TEST(Threads, ContextsInParallel) {
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (uint32_t t = 0; t < 8; ++t) {
        threads.emplace_back([t, &mismatches] {
            for (uint32_t i = 0; i < 40; ++i) {
                const Bytes data = sample(1000 + 97 * i, t * 1000 + i);
                const ULONG flags = (t + i) % 2 ? GZDLL_FLAG_GZIP : GZDLL_FLAG_DEFLATE;
                if (decompress_all(flags, compress_all(flags, static_cast<int>(i % 11), data)) != data)
                    ++mismatches;
                PVOID held = create(kKinds[i % 2]);
                destroy(kKinds[i % 2], &held);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
