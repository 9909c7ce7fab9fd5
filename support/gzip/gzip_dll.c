/* GZIP.dll on zlib; the contract is described in gzip_dll.h. */
#include "gzip_dll.h"

#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

/* Context states. A context header is never freed once made: a pointer the DLL handed
 * out stays readable, so a destroyed or repeated handle is recognised, not followed
 * into freed memory. Destroy returns the header to the pool; Create reuses it. */
enum {
    STATE_FREE = 0x46525A47,       /* "GZRF" */
    STATE_BUSY = 0x42525A47,       /* "GZRB": being set up or torn down */
    STATE_COMPRESS = 0x43525A47,   /* "GZRC" */
    STATE_DECOMPRESS = 0x44525A47, /* "GZRD" */
};

typedef struct Context {
    atomic_uint state;
    struct Context* next; /* every context ever made, newest first; set before publishing */
    z_stream zs;
    int gzip;
    int started; /* compression: deflateInit2 ran (lazily, for the first call's level) */
    int ended;   /* the stream's end was reached */
} Context;

static _Atomic(Context*) all_contexts;

static Context* known(const void* p) {
    if (!p)
        return NULL;
    for (Context* c = atomic_load(&all_contexts); c; c = c->next) {
        if (c == p)
            return c;
    }
    return NULL;
}

static Context* live(const void* p, unsigned state) {
    Context* c = known(p);
    return c && atomic_load(&c->state) == state ? c : NULL;
}

/* A free header from the pool, or a new one; returned BUSY. */
static Context* claim(void) {
    for (Context* c = atomic_load(&all_contexts); c; c = c->next) {
        unsigned expected = STATE_FREE;
        if (atomic_compare_exchange_strong(&c->state, &expected, STATE_BUSY))
            return c;
    }
    Context* c = malloc(sizeof *c);
    if (!c)
        return NULL;
    atomic_init(&c->state, STATE_BUSY);
    c->next = atomic_load(&all_contexts);
    while (!atomic_compare_exchange_weak(&all_contexts, &c->next, c)) {
    }
    return c;
}

static void reset_fields(Context* c, ULONG flags) {
    memset(&c->zs, 0, sizeof c->zs);
    c->gzip = (flags & GZDLL_FLAG_GZIP) != 0;
    c->started = 0;
    c->ended = 0;
}

#ifdef _WIN32
static int readable(const void* p, size_t size) {
    MEMORY_BASIC_INFORMATION info;
    const DWORD read_access =
        PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT)
        return 0;
    if ((info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(info.Protect & read_access))
        return 0;
    return (const char*)p + size <= (const char*)info.BaseAddress + info.RegionSize;
}
#else
/* Host builds serve the unit tests, which pass only readable addresses. */
static int readable(const void* p, size_t size) {
    (void)size;
    return p != NULL;
}
#endif

static HRESULT destroy(PVOID context) {
    Context* c = known(context);
    if (!c && readable(context, sizeof(void*))) {
        void* held; /* VB6 ByRef: the address of the caller's variable */
        memcpy(&held, context, sizeof held);
        c = known(held);
    }
    if (!c)
        return GZDLL_S_OK;
    unsigned state = atomic_load(&c->state);
    if ((state == STATE_COMPRESS || state == STATE_DECOMPRESS) && atomic_compare_exchange_strong(&c->state, &state, STATE_BUSY)) {
        if (state == STATE_DECOMPRESS) {
            inflateEnd(&c->zs);
        } else if (c->started) {
            deflateEnd(&c->zs);
        }
        atomic_store(&c->state, STATE_FREE);
    }
    return GZDLL_S_OK;
}

static HRESULT from_zlib(int rc) {
    switch (rc) {
        case Z_MEM_ERROR:
            return GZDLL_E_OUTOFMEMORY;
        case Z_DATA_ERROR:
        case Z_NEED_DICT:
            return GZDLL_E_INVALID_DATA;
        case Z_STREAM_ERROR:
            return GZDLL_E_INVALIDARG;
        default:
            return GZDLL_E_FAIL;
    }
}

/* ---- compression ---- */

HRESULT WINAPI InitCompression(void) {
    return GZDLL_S_OK;
}

/* Live contexts stay usable: some callers de-initialise before destroying them. */
HRESULT WINAPI DeInitCompression(void) {
    return GZDLL_S_OK;
}

HRESULT WINAPI CreateCompression(PVOID* context, ULONG flags) {
    if (!context)
        return GZDLL_E_INVALIDARG;
    *context = NULL;
    Context* c = claim();
    if (!c)
        return GZDLL_E_OUTOFMEMORY;
    reset_fields(c, flags);
    atomic_store(&c->state, STATE_COMPRESS);
    *context = c;
    return GZDLL_S_OK;
}

/* Levels 0..10 onto zlib's 1..9 (zlib 0 would store). 10 searches longer than 9. */
static int start_deflate(Context* c, INT level) {
    int zlevel = level <= 0 ? 1 : level >= 9 ? 9 : level;
    int rc = deflateInit2(&c->zs, zlevel, Z_DEFLATED, c->gzip ? 15 + 16 : -15, level >= 10 ? 9 : 8, Z_DEFAULT_STRATEGY);
    if (rc == Z_OK && level >= 10)
        rc = deflateTune(&c->zs, 258, 258, 258, 16384);
    if (rc != Z_OK) {
        deflateEnd(&c->zs);
        return rc;
    }
    c->started = 1;
    return Z_OK;
}

HRESULT WINAPI Compress2(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                         LONG output_buffer_size, LONG* input_used, LONG* output_used, INT compression_level, INT operation) {
    Context* c = live(context, STATE_COMPRESS);
    /* Without output space deflate makes no progress, and a sync flush with 6 bytes or
     * less repeats its marker forever: a caller's loop would never end. */
    if (!c || !input_used || !output_used || input_buffer_size < 0 || (input_buffer_size > 0 && !input_buffer) ||
        output_buffer_size <= 0 || !output_buffer || operation < GZDLL_OPERATION_PROCESS || operation > GZDLL_OPERATION_FINISH ||
        (operation == GZDLL_OPERATION_FLUSH && output_buffer_size < 7)) {
        return GZDLL_E_INVALIDARG;
    }
    *input_used = 0;
    *output_used = 0;
    if (c->ended)
        return input_buffer_size == 0 ? GZDLL_S_FALSE : GZDLL_E_FAIL;
    if (!c->started) {
        int rc = start_deflate(c, compression_level);
        if (rc != Z_OK)
            return from_zlib(rc);
    }
    static const int flush_of[] = {Z_NO_FLUSH, Z_SYNC_FLUSH, Z_FINISH};
    c->zs.next_in = (Bytef*)input_buffer;
    c->zs.avail_in = (uInt)input_buffer_size;
    c->zs.next_out = output_buffer;
    c->zs.avail_out = (uInt)output_buffer_size;
    int rc = deflate(&c->zs, flush_of[operation]);
    *input_used = input_buffer_size - (LONG)c->zs.avail_in;
    *output_used = output_buffer_size - (LONG)c->zs.avail_out;
    c->zs.next_in = NULL;
    c->zs.next_out = NULL;

    if (rc == Z_STREAM_END) {
        c->ended = 1;
        return GZDLL_S_FALSE;
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR)
        return from_zlib(rc);
    /* Z_BUF_ERROR here means there was nothing to do: no input, and any flush already done.
     * Without input, PROCESS is done once deflate stops filling the output. */
    if (operation == GZDLL_OPERATION_FINISH || (operation == GZDLL_OPERATION_PROCESS && input_buffer_size > 0)) {
        return GZDLL_S_OK;
    }
    return c->zs.avail_out > 0 ? GZDLL_S_FALSE : GZDLL_S_OK;
}

HRESULT WINAPI Compress(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                        LONG output_buffer_size, LONG* input_used, LONG* output_used, INT compression_level) {
    return Compress2(context, input_buffer, input_buffer_size, output_buffer, output_buffer_size, input_used, output_used,
                     compression_level, input_buffer_size == 0 ? GZDLL_OPERATION_FINISH : GZDLL_OPERATION_PROCESS);
}

/* Starts a new stream; its level comes from its first Compress call again. */
HRESULT WINAPI ResetCompression(PVOID context) {
    Context* c = live(context, STATE_COMPRESS);
    if (!c)
        return GZDLL_E_INVALIDARG;
    if (c->started)
        deflateEnd(&c->zs);
    reset_fields(c, c->gzip ? GZDLL_FLAG_GZIP : GZDLL_FLAG_DEFLATE);
    return GZDLL_S_OK;
}

HRESULT WINAPI DestroyCompression(PVOID context) {
    return destroy(context);
}

/* ---- decompression ---- */

HRESULT WINAPI InitDecompression(void) {
    return GZDLL_S_OK;
}

HRESULT WINAPI DeInitDecompression(void) {
    return GZDLL_S_OK;
}

HRESULT WINAPI CreateDecompression(PVOID* context, ULONG flags) {
    if (!context)
        return GZDLL_E_INVALIDARG;
    *context = NULL;
    Context* c = claim();
    if (!c)
        return GZDLL_E_OUTOFMEMORY;
    reset_fields(c, flags);
    /* 15 + 32: a gzip or a zlib header, detected. */
    int rc = inflateInit2(&c->zs, c->gzip ? 15 + 32 : -15);
    if (rc != Z_OK) {
        atomic_store(&c->state, STATE_FREE);
        return from_zlib(rc);
    }
    atomic_store(&c->state, STATE_DECOMPRESS);
    *context = c;
    return GZDLL_S_OK;
}

HRESULT WINAPI Decompress(PVOID context, const BYTE* input_buffer, LONG input_buffer_size, BYTE* output_buffer,
                          LONG output_buffer_size, LONG* input_used, LONG* output_used) {
    Context* c = live(context, STATE_DECOMPRESS);
    /* Output size 0 is allowed: a one-shot caller sizes the output from ISIZE, which is 0
     * for empty data, and the call must still read the whole member. */
    if (!c || !input_used || !output_used || input_buffer_size < 0 || (input_buffer_size > 0 && !input_buffer) ||
        output_buffer_size < 0 || (output_buffer_size > 0 && !output_buffer)) {
        return GZDLL_E_INVALIDARG;
    }
    *input_used = 0;
    *output_used = 0;
    if (c->ended)
        return GZDLL_S_FALSE;
    Bytef nowhere; /* zlib rejects NULL buffers even when their size is 0 */
    c->zs.next_in = input_buffer ? (Bytef*)input_buffer : &nowhere;
    c->zs.avail_in = (uInt)input_buffer_size;
    c->zs.next_out = output_buffer ? output_buffer : &nowhere;
    c->zs.avail_out = (uInt)output_buffer_size;
    int rc = inflate(&c->zs, Z_NO_FLUSH);
    *input_used = input_buffer_size - (LONG)c->zs.avail_in;
    *output_used = output_buffer_size - (LONG)c->zs.avail_out;
    c->zs.next_in = NULL;
    c->zs.next_out = NULL;

    switch (rc) {
        case Z_STREAM_END:
            c->ended = 1;
            return GZDLL_S_OK;
        case Z_OK:
            return GZDLL_S_OK;
        case Z_BUF_ERROR: /* no progress possible: S_OK would loop a caller forever */
            return input_buffer_size == 0 ? GZDLL_E_END_OF_INPUT : GZDLL_E_NO_OUTPUT_SPACE;
        default:
            return from_zlib(rc);
    }
}

HRESULT WINAPI ResetDecompression(PVOID context) {
    Context* c = live(context, STATE_DECOMPRESS);
    if (!c)
        return GZDLL_E_INVALIDARG;
    int rc = inflateReset(&c->zs);
    if (rc != Z_OK)
        return from_zlib(rc);
    c->ended = 0;
    return GZDLL_S_OK;
}

HRESULT WINAPI DestroyDecompression(PVOID context) {
    return destroy(context);
}
