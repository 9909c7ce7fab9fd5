// One name, one shape: a .DLL命令 or .数据类型 that several texts declare is declared
// alike in all of them, so that a user who pastes two entries into one project can
// keep either copy. Parameter and remark names may differ (DLL calls are positional);
// a data type's member names may not (statements use them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "finding.h"
#include "source_form.h"

namespace checker {

struct DeclaringText {
    uint32_t record;
    std::string path;
    const SourceInfo* info;
};

struct PlacedFinding {
    uint32_t record;
    std::string path;
    Finding finding;
};

// Each declaration is compared with the first of its name in the order given; every
// one that differs is reported at its own line, naming the first and the difference.
std::vector<PlacedFinding> check_one_shape(const std::vector<DeclaringText>& texts);

}  // namespace checker
