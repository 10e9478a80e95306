#include "maptool/failure.h"

#include "formats/errors.h"

#include <new>

namespace maptool {

void RethrowForFile(const std::string& file) {
    try {
        throw;
    } catch (const Failure&) {
        throw;
    } catch (const UsageError&) {
        throw;
    } catch (const formats::EFOpenError& e) {
        throw Failure(e.what()); // already names the file
    } catch (const std::bad_alloc&) {
        throw Failure(file + ": not enough memory");
    } catch (const std::exception& e) {
        throw Failure(file + ": " + e.what());
    } catch (...) {
        throw Failure(file + ": unknown error");
    }
}

} // namespace maptool
