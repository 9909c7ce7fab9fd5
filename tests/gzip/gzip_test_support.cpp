#include "tests/gzip/gzip_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace gziptest {

Bytes sample(size_t size, uint32_t seed) {
    static const char* const words[] = {"window", "handle", "message", "thread", "process", "registry", "file",
                                        "text",   "pixel",  "menu",    "timer",  "socket",  "buffer",   "0x"};
    uint32_t x = seed * 2654435761u | 1u;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    Bytes out;
    out.reserve(size + 80);
    while (out.size() < size) {
        const uint32_t r = next();
        if (r % 32 == 0) {
            for (uint32_t n = 4 + r / 32 % 32; n > 0; --n)
                out.push_back(static_cast<unsigned char>(next()));
        } else {
            const char* word = words[r / 32 % std::size(words)];
            out.insert(out.end(), word, word + std::char_traits<char>::length(word));
            out.push_back(static_cast<unsigned char>('0' + r / 1024 % 10));
            out.push_back(static_cast<unsigned char>('0' + r / 16384 % 10));
            out.push_back(r % 7 == 0 ? '\n' : ' ');
        }
    }
    out.resize(size);
    return out;
}

std::string describe(Buffers buffers) {
    auto one = [](LONG size) { return size ? std::to_string(size) : std::string("1..7"); };
    return "input buffers " + one(buffers.input) + ", output buffers " + one(buffers.output);
}

namespace {

// Offer sizes cycle with different phases for input and output.
LONG offer(LONG fixed, size_t call, size_t phase) {
    return fixed ? fixed : static_cast<LONG>(1 + (call * 3 + phase) % 7);
}

bool used_in_range(LONG used, LONG offered) {
    return used >= 0 && used <= offered;
}

}  // namespace

Outcome compress(PVOID context, std::span<const unsigned char> data, int level, Buffers buffers) {
    Outcome run;
    Bytes buffer(buffers.output ? buffers.output : 7);
    const size_t limit = 4 * (data.size() + 1024);
    for (;;) {
        const LONG input = std::min(static_cast<LONG>(data.size() - run.input_used), offer(buffers.input, run.calls, 0));
        const LONG output = offer(buffers.output, run.calls, 4);
        LONG input_used = -1;
        LONG output_used = -1;
        run.result =
            api().Compress(context, data.data() + run.input_used, input, buffer.data(), output, &input_used, &output_used, level);
        ++run.calls;
        if (run.result != GZDLL_S_OK && run.result != GZDLL_S_FALSE) {
            ADD_FAILURE() << "Compress call " << run.calls << " returned " << hr_text(run.result);
            return run;
        }
        if (!used_in_range(input_used, input) || !used_in_range(output_used, output)) {
            ADD_FAILURE() << "Compress used " << input_used << " of " << input << " and " << output_used << " of " << output;
            return run;
        }
        run.input_used += input_used;
        run.output.insert(run.output.end(), buffer.begin(), buffer.begin() + output_used);
        if (run.result == GZDLL_S_FALSE) {
            if (input != 0)
                ADD_FAILURE() << "S_FALSE while input was offered";
            return run;
        }
        if (run.calls > limit) {
            ADD_FAILURE() << "Compress gave no S_FALSE in " << run.calls << " calls";
            return run;
        }
    }
}

Outcome decompress(PVOID context, std::span<const unsigned char> data, Buffers buffers, size_t max_calls) {
    Outcome run;
    Bytes buffer(buffers.output ? buffers.output : 7);
    // Deflate expands by at most about 1032 times.
    const size_t limit = max_calls ? max_calls : 2 * 1100 * (data.size() + 1);
    for (;;) {
        const LONG input = std::min(static_cast<LONG>(data.size() - run.input_used), offer(buffers.input, run.calls, 2));
        const LONG output = offer(buffers.output, run.calls, 5);
        LONG input_used = -1;
        LONG output_used = -1;
        run.result =
            api().Decompress(context, data.data() + run.input_used, input, buffer.data(), output, &input_used, &output_used);
        ++run.calls;
        if (run.result < 0)
            return run;  // the caller judges failures
        if (!used_in_range(input_used, input) || !used_in_range(output_used, output)) {
            ADD_FAILURE() << "Decompress used " << input_used << " of " << input << " and " << output_used << " of " << output;
            return run;
        }
        run.input_used += input_used;
        run.output.insert(run.output.end(), buffer.begin(), buffer.begin() + output_used);
        if (run.result != GZDLL_S_OK) {
            if (run.result != GZDLL_S_FALSE)
                ADD_FAILURE() << "Decompress returned " << hr_text(run.result);
            if (input_used || output_used)
                ADD_FAILURE() << "S_FALSE on a call that used data";
            return run;
        }
        if (input_used == 0 && output_used == 0) {
            ADD_FAILURE() << "S_OK on a call that made no progress: a while (hr == S_OK) loop would not end";
            return run;
        }
        if (run.calls >= limit) {
            ADD_FAILURE() << "Decompress still returned S_OK after " << run.calls << " calls";
            return run;
        }
    }
}

std::string hr_text(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

Bytes compress_all(ULONG flags, int level, std::span<const unsigned char> data, Buffers buffers) {
    PVOID context = nullptr;
    EXPECT_EQ(api().CreateCompression(&context, flags), GZDLL_S_OK);
    const Outcome run = compress(context, data, level, buffers);
    EXPECT_EQ(run.result, GZDLL_S_FALSE);
    EXPECT_EQ(run.input_used, data.size());
    EXPECT_EQ(api().DestroyCompression(context), GZDLL_S_OK);
    return run.output;
}

Bytes decompress_all(ULONG flags, std::span<const unsigned char> data, Buffers buffers) {
    PVOID context = nullptr;
    EXPECT_EQ(api().CreateDecompression(&context, flags), GZDLL_S_OK);
    const Outcome run = decompress(context, data, buffers);
    EXPECT_EQ(run.result, GZDLL_S_FALSE) << hr_text(run.result);
    EXPECT_EQ(run.input_used, data.size());
    EXPECT_EQ(api().DestroyDecompression(context), GZDLL_S_OK);
    return run.output;
}

}  // namespace gziptest
