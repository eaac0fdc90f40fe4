// An owner of what a C library made: the pointer goes back to the library's own release function when the
// owner goes, as in Owned<CURL, curl_easy_cleanup>.
#pragma once

#include <memory>

namespace corvane::platform {

template <auto Release>
struct ReleaseWith {
    template <class T>
    void operator()(T* handle) const {
        Release(handle);
    }
};

template <class T, auto Release>
using Owned = std::unique_ptr<T, ReleaseWith<Release>>;

}  // namespace corvane::platform
