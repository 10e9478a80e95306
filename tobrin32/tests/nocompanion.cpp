// A library that loads but has neither companion entry.
extern "C" int NotACompanion() {
    return 0;
}
