#pragma once
// Sanitizer settings for targets that make and free a few hundred kilobytes a
// run: with the usual 256 MB quarantine of freed memory every run touches fresh
// pages, which halves the speed. Use after free within the last 16 MB freed is
// still caught. Include from the target's own source file only.

extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}
