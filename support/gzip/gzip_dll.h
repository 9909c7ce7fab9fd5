/* GZIP.dll: the gzip/deflate compression-scheme interface (stdcall, plain export names)
 * on zlib. Built as the 32-bit support DLL the program writes out, which the Windows
 * tests load in 32-bit programs, and for the host, where the unit tests call it directly.
 *
 * Contract, as callers of this interface expect it:
 *  - Create*(&ctx, flags): bit 0 of flags selects gzip (RFC 1952), otherwise raw
 *    deflate (RFC 1951). Decompression with bit 0 also accepts a zlib stream.
 *  - Compress: levels 0 (fastest; still compresses) .. 10 (smallest), taken from the
 *    first call of a stream. Input is consumed as offered and may be buffered; a call
 *    with input size 0 finishes the stream, and S_FALSE means the trailer is complete.
 *    A caller that never makes that call gets an unfinished stream: nothing but the
 *    call itself can tell that the input has ended.
 *  - Decompress returns S_OK on every call that makes progress, including the one that
 *    reaches the end (one-shot callers test for 0), and S_FALSE with nothing used on
 *    any call after the end. A call that cannot make progress fails instead of
 *    returning S_OK, so that `while (hr == S_OK)` loops over truncated input end.
 *  - Destroy* accept NULL, destroyed contexts and the address of a variable that holds
 *    a context (VB6 ByRef declarations). DeInit* and Destroy* return 0 in EAX for
 *    callers that declare them as returning LONG.
 */
#ifndef SUPPORT_GZIP_GZIP_DLL_H
#define SUPPORT_GZIP_GZIP_DLL_H

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <stdint.h>
typedef int32_t HRESULT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned char BYTE;
typedef void* PVOID;
#define WINAPI
#endif

#define GZDLL_S_OK ((HRESULT)0x00000000L)
#define GZDLL_S_FALSE ((HRESULT)0x00000001L)
#define GZDLL_E_FAIL ((HRESULT)0x80004005UL)            /* E_FAIL; also: input after the stream was finished */
#define GZDLL_E_INVALIDARG ((HRESULT)0x80070057UL)      /* E_INVALIDARG: unknown context or bad argument */
#define GZDLL_E_OUTOFMEMORY ((HRESULT)0x8007000EUL)     /* E_OUTOFMEMORY */
#define GZDLL_E_INVALID_DATA ((HRESULT)0x8007000DUL)    /* HRESULT_FROM_WIN32(ERROR_INVALID_DATA): corrupt input */
#define GZDLL_E_END_OF_INPUT ((HRESULT)0x80070026UL)    /* HRESULT_FROM_WIN32(ERROR_HANDLE_EOF): input ended mid-stream */
#define GZDLL_E_NO_OUTPUT_SPACE ((HRESULT)0x8007007AUL) /* HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) */

#define GZDLL_FLAG_DEFLATE 0x0u
#define GZDLL_FLAG_GZIP 0x1u

/* Compress2 operations. */
#define GZDLL_OPERATION_PROCESS 0
#define GZDLL_OPERATION_FLUSH 1
#define GZDLL_OPERATION_FINISH 2

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI InitCompression(void);
HRESULT WINAPI DeInitCompression(void);
HRESULT WINAPI CreateCompression(PVOID* context, ULONG flags);
HRESULT WINAPI Compress(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                        LONG output_buffer_size, LONG* input_used, LONG* output_used, INT compression_level);
/* S_FALSE when the operation is done: FINISH at the end of the stream, FLUSH when all
 * flushed output is written, PROCESS when there was no input to take. FLUSH needs at
 * least 7 bytes of output space (zlib's sync flush). */
HRESULT WINAPI Compress2(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                         LONG output_buffer_size, LONG* input_used, LONG* output_used, INT compression_level, INT operation);
HRESULT WINAPI ResetCompression(PVOID context);
HRESULT WINAPI DestroyCompression(PVOID context);

HRESULT WINAPI InitDecompression(void);
HRESULT WINAPI DeInitDecompression(void);
HRESULT WINAPI CreateDecompression(PVOID* context, ULONG flags);
HRESULT WINAPI Decompress(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                          LONG output_buffer_size, LONG* input_used, LONG* output_used);
HRESULT WINAPI ResetDecompression(PVOID context);
HRESULT WINAPI DestroyDecompression(PVOID context);

#ifdef __cplusplus
}
#endif

#endif
