// A library that loads but has none of the companion's entries.
extern "C" int NotACompanion() {
    return 0;
}
