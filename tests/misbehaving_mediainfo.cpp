// A stand-in for the MediaInfo library that misbehaves the way a damaged media file can make the
// real one misbehave: it crashes on a file whose name contains "crash", never returns on one
// whose name contains "hang", and cannot open anything else. Loaded in the real library's place.
#include <csignal>
#include <cstddef>
#include <cwchar>
#include <unistd.h>

extern "C" {

void* MediaInfo_New() {
    static int handle;
    return &handle;
}
void MediaInfo_Delete(void*) {}
size_t MediaInfo_Open(void*, const wchar_t* fileName) {
    if (std::wcsstr(fileName, L"crash") != nullptr)
        std::raise(SIGSEGV);
    if (std::wcsstr(fileName, L"hang") != nullptr)
        for (;;)
            ::pause();
    return 0;
}
void MediaInfo_Close(void*) {}
const wchar_t* MediaInfo_Inform(void*, size_t) {
    return L"";
}
const wchar_t* MediaInfo_Get(void*, int, size_t, const wchar_t*, int, int) {
    return L"";
}
const wchar_t* MediaInfo_Option(void*, const wchar_t*, const wchar_t*) {
    return L"";
}
}
