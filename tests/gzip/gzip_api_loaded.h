// GZIP.dll as 32-bit programs use it: loaded from its file, its functions found by their
// plain export names, and every call made through a thunk that pushes each argument as
// one 32-bit word and checks that the function popped exactly those bytes and kept ebx,
// esi and edi (i686 only).
#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace gziptest {

// Loads the DLL for api(), or stops the program with the reason.
void load_dll(const char* path);

// Called for the first fault each export shows in a checked call. By default it prints
// the fault and ends the program; a test program turns faults into test failures.
extern void (*report_call_fault)(const std::string& fault);

// How many calls were checked so far, and how many of them showed a fault.
size_t checked_calls();
size_t faulty_calls();

struct Prototype {
    const char* name;
    size_t argument_bytes;  // what each call pushes
};
// Every export, with the bytes the checked calls push.
std::span<const Prototype> prototypes();

}  // namespace gziptest
