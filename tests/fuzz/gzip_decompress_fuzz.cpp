// GZIP.dll's Decompress as programs call it on data from the network: the stream
// arrives in pieces of any size, each call offers an output buffer of any size, and
// the caller loops while the result is S_OK. Every piece and every output buffer is
// an allocation of exactly its size, so a read or write past one is an ASan report.
// Whatever the pieces, the output must be what zlib makes of the whole stream at once.
//
// The input: an options byte, a count n, n size bytes (two per call: the piece, then
// the output buffer; used in turn, and again from the first), then the stream.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "support/gzip/gzip_dll.h"

namespace {

// The output a caller takes at most; a small stream can stand for far more.
constexpr size_t output_limit = 64 * 1024;

enum Option : uint8_t {
    flag_bits = 0x0f,           // CreateDecompression's flags: bit 0 is gzip (or zlib), otherwise raw deflate
    reset_and_again = 0x10,     // then ResetDecompression and the whole stream in one call
    destroy_by_address = 0x20,  // DestroyDecompression(&context), as VB6 ByRef declarations pass it
    null_when_empty = 0x40,     // a NULL buffer whenever its size is 0
};

enum class End { finished, corrupt, unfinished };

// zlib on the whole stream in one call, with the caller's output limit.
struct Reference {
    End end;
    std::string output;
    size_t input_used;
};

Reference inflate_whole(std::string_view stream, bool gzip) {
    z_stream zs{};
    FUZZ_CHECK(inflateInit2(&zs, gzip ? 15 + 32 : -15) == Z_OK);
    std::string output(output_limit, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    zs.avail_in = uInt(stream.size());
    zs.next_out = reinterpret_cast<Bytef*>(output.data());
    zs.avail_out = uInt(output.size());
    int rc = inflate(&zs, Z_NO_FLUSH);
    output.resize(output.size() - zs.avail_out);
    size_t input_used = stream.size() - zs.avail_in;
    inflateEnd(&zs);
    End end = rc == Z_STREAM_END ? End::finished : rc == Z_DATA_ERROR || rc == Z_NEED_DICT ? End::corrupt : End::unfinished;
    FUZZ_CHECK(end != End::unfinished || rc == Z_OK || rc == Z_BUF_ERROR);
    return {end, output, input_used};
}

// A buffer of exactly its size; with null_when_empty, NULL when that size is 0.
struct Buffer {
    std::unique_ptr<BYTE[]> bytes;
    BYTE* data;
    Buffer(size_t size, bool null_when_empty)
        : bytes(new BYTE[size]), data(size == 0 && null_when_empty ? nullptr : bytes.get()) {}
};

// Piece and buffer sizes from the size bytes: 0 to 127 as they are, then steps of 512.
class Sizes {
  public:
    explicit Sizes(std::string_view codes) : codes_(codes) {}
    // The size for the next call, or `otherwise` when there are no size bytes.
    size_t next(size_t otherwise) {
        if (codes_.empty())
            return otherwise;
        uint8_t code = uint8_t(codes_[at_++ % codes_.size()]);
        return code < 128 ? code : (code - 127) * size_t(512);
    }

  private:
    std::string_view codes_;
    size_t at_ = 0;
};

bool is_failure_of_decompress(HRESULT hr) {
    return hr == GZDLL_E_INVALID_DATA || hr == GZDLL_E_END_OF_INPUT || hr == GZDLL_E_NO_OUTPUT_SPACE || hr == GZDLL_E_OUTOFMEMORY;
}

// The caller's loop. Checks each call, then the whole against the reference.
void decompress_in_pieces(PVOID context, std::string_view stream, Sizes& sizes, uint8_t options, const Reference& reference) {
    std::string output;
    size_t consumed = 0;
    bool idle_call = false;  // the last call returned S_OK without taking or giving a byte
    for (;;) {
        if (output.size() == output_limit)
            return;  // the caller has all it wants: nothing more to say of the stream
        size_t piece = std::min(sizes.next(stream.size()), stream.size() - consumed);
        size_t room = std::min(sizes.next(output_limit), output_limit - output.size());
        Buffer in(piece, options & null_when_empty);
        if (piece > 0)
            std::memcpy(in.data, stream.data() + consumed, piece);
        Buffer out(room, options & null_when_empty);
        LONG input_used = -1, output_used = -1;
        HRESULT hr = Decompress(context, in.data, LONG(piece), out.data, LONG(room), &input_used, &output_used);
        FUZZ_CHECK(hr == GZDLL_S_OK || hr == GZDLL_S_FALSE || is_failure_of_decompress(hr));
        FUZZ_CHECK(input_used >= 0 && size_t(input_used) <= piece);
        FUZZ_CHECK(output_used >= 0 && size_t(output_used) <= room);
        // Only the call that reaches the end may return S_OK without progress; the next says so.
        FUZZ_CHECK(!idle_call || hr == GZDLL_S_FALSE);
        if (output_used > 0)
            output.append(reinterpret_cast<const char*>(out.bytes.get()), size_t(output_used));
        consumed += size_t(input_used);
        FUZZ_CHECK(reference.output.compare(0, output.size(), output) == 0);

        if (hr == GZDLL_S_OK) {
            idle_call = input_used == 0 && output_used == 0;
            continue;
        }
        if (hr == GZDLL_S_FALSE) {  // after the end
            FUZZ_CHECK(input_used == 0 && output_used == 0);
            FUZZ_CHECK(reference.end == End::finished && output == reference.output && consumed == reference.input_used);
            return;
        }
        if (hr == GZDLL_E_INVALID_DATA) {
            FUZZ_CHECK(reference.end == End::corrupt && output == reference.output);
        } else if (hr == GZDLL_E_END_OF_INPUT) {
            FUZZ_CHECK(piece == 0);
            // Everything offered and room to spare: the stream is cut short.
            if (consumed == stream.size() && room > 0)
                FUZZ_CHECK(reference.end == End::unfinished && output == reference.output);
        } else if (hr == GZDLL_E_NO_OUTPUT_SPACE) {
            FUZZ_CHECK(room == 0 && piece > 0);
        }
        return;
    }
}

// After ResetDecompression the context reads a stream from its start again.
void decompress_at_once(PVOID context, std::string_view stream, uint8_t options, const Reference& reference) {
    FUZZ_CHECK(ResetDecompression(context) == GZDLL_S_OK);
    Buffer in(stream.size(), options & null_when_empty);
    if (!stream.empty())
        std::memcpy(in.data, stream.data(), stream.size());
    Buffer out(output_limit, false);
    LONG input_used = -1, output_used = -1;
    HRESULT hr = Decompress(context, in.data, LONG(stream.size()), out.data, LONG(output_limit), &input_used, &output_used);
    FUZZ_CHECK(output_used >= 0 && size_t(output_used) <= output_limit);
    FUZZ_CHECK(std::string_view(reinterpret_cast<const char*>(out.data), size_t(output_used)) == reference.output);
    switch (reference.end) {
        case End::finished:
            FUZZ_CHECK(hr == GZDLL_S_OK && size_t(input_used) == reference.input_used);
            break;
        case End::corrupt:
            FUZZ_CHECK(hr == GZDLL_E_INVALID_DATA);
            break;
        case End::unfinished:
            FUZZ_CHECK(hr == GZDLL_S_OK || (hr == GZDLL_E_END_OF_INPUT && input_used == 0 && output_used == 0));
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < 2)
        return 0;
    uint8_t options = uint8_t(input[0]);
    size_t count = std::min(size_t(uint8_t(input[1])), input.size() - 2);
    Sizes sizes(input.substr(2, count));
    std::string_view stream = input.substr(2 + count);
    ULONG flags = options & flag_bits;
    Reference reference = inflate_whole(stream, flags & GZDLL_FLAG_GZIP);

    FUZZ_CHECK(InitDecompression() == GZDLL_S_OK);
    PVOID context = nullptr;
    FUZZ_CHECK(CreateDecompression(&context, flags) == GZDLL_S_OK && context);
    decompress_in_pieces(context, stream, sizes, options, reference);
    if (options & reset_and_again)
        decompress_at_once(context, stream, options, reference);

    FUZZ_CHECK((options & destroy_by_address ? DestroyDecompression(&context) : DestroyDecompression(context)) == GZDLL_S_OK);
    LONG input_used = -1, output_used = -1;
    BYTE byte = 0;
    FUZZ_CHECK(Decompress(context, &byte, 1, &byte, 1, &input_used, &output_used) == GZDLL_E_INVALIDARG);
    FUZZ_CHECK(DeInitDecompression() == GZDLL_S_OK);
    return 0;
}
