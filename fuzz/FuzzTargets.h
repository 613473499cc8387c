#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Every reader of data the program did not write, each as one function over raw bytes. The
// fuzzers (libFuzzer) call one of them per input; the normal tests run the seed corpus and every
// kept crash through them. A function returns normally on any input, or aborts when a property
// the program relies on is broken.

struct TFuzzTarget {
    const char* Name; // also the folder of its corpus and kept crashes
    void (*Run)(const uint8_t* data, size_t size);
};

const std::vector<TFuzzTarget>& FuzzTargets();
