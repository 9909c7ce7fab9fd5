// What the checker reports: where a text breaks a rule, and which rule.
#pragma once

#include <string>
#include <vector>

namespace checker {

struct Finding {
    int line;  // 1-based line of the text; 0 when the finding is about the whole text
    std::string reason;
};

using Findings = std::vector<Finding>;

// The lines of a text split at CR LF (the text has been checked for lone CR and LF
// separately).
std::vector<std::string> lines_of(const std::string& text);

}  // namespace checker
