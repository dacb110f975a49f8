// A damaged dravik.dll for the binding test: it has the drive-letter function but none of the other three.

#include <cstdint>

extern "C" __declspec(dllexport) int32_t DrvkGetDriveLetterW(int32_t, wchar_t* buffer, int32_t size) {
    if (buffer && size > 0)
        buffer[0] = 0;
    return 0;
}
