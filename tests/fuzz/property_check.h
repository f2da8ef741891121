#pragma once

#include <cstdio>
#include <cstdlib>

// A property the program must keep for every input. A broken one aborts, so that libFuzzer keeps
// the input as a crash and reports it with the property's wording.
inline void requireProperty(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "broken property: %s\n", property);
        std::abort();
    }
}
