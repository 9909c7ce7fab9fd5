// What this process holds, counted the same way each time: its windows by class,
// its GDI objects by type, and its private memory.
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace soak {

// Every window of the process: top-level, message-only, and all their descendants.
std::map<std::string, int> windows_by_class();

// Every live GDI object of the process, whoever created it (our code, the common
// controls, the system), by type.
std::map<std::string, int> gdi_objects_by_type();

// Private (committed, not shared) memory in bytes.
size_t private_bytes();

// Bytes in use in the process's heaps (what malloc, new and HeapAlloc hand out), the
// blocks' own bookkeeping not included.
size_t heap_bytes_in_use();

}  // namespace soak
