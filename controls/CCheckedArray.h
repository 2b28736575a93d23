#pragma once
// CCheckedArray: a fixed array with range checks. A fault does not crash: it
// shows a message box (caption "Error") and goes on with a zeroed element.
// Used by the LED meter (codes 3 and 4) and the text edit (code 11). UI thread.

#include <cstdint>
#include <cstring>

// Shows one of the array's messages: format filled with a, b, c (at most 511
// characters; a failed format shows an empty text). UI thread.
void showCheckedArrayMessage(const char* format, int64_t a, int64_t b, int64_t c);

template <typename T>
class CCheckedArray
{
public:
    static constexpr uint32_t kMaxCount = 220000; // elements; sizes from here on are refused

    explicit CCheckedArray(uint8_t code = 0) : dummy(), errorCode(code) {}
    // A copy holds data of its own with the same contents.
    CCheckedArray(const CCheckedArray& other) : dummy(), errorCode(other.errorCode)
    {
        if (other.valid)
        {
            resize(other.count);
            for (uint32_t i = 0; i < count; ++i)
                data[i] = other.data[i];
        }
    }
    CCheckedArray& operator=(const CCheckedArray& other)
    {
        if (this != &other)
        {
            release();
            errorCode = other.errorCode;
            if (other.valid)
            {
                resize(other.count);
                for (uint32_t i = 0; i < count; ++i)
                    data[i] = other.data[i];
            }
        }
        return *this;
    }
    ~CCheckedArray() { release(); }

    // Frees the old elements and makes n zeroed ones; n >= 220000 leaves the array
    // empty and shows "Array max size exceeded". False when refused. UI thread.
    bool resize(uint32_t n)
    {
        release();
        valid = 1;
        if (n >= kMaxCount)
        {
            showCheckedArrayMessage("Array max size exceeded [%d] / max: %d (Code: %d)", n, kMaxCount, errorCode);
            return false;
        }
        if (n > 0)
        {
            data = new T[n]();
            count = n;
            byteSize = static_cast<uint32_t>(n * sizeof(T));
        }
        return true;
    }

    // Number of elements. Any thread.
    uint32_t size() const { return count; }
    // True once the array has been sized. Any thread.
    bool isValid() const { return valid != 0; }
    // The code the "max size exceeded" message shows.
    uint8_t getErrorCode() const { return errorCode; }

    // Element index; out of range: the message "Index out of range" and a zeroed
    // spare element (no message when the array is empty). UI thread.
    T& operator[](uint32_t index)
    {
        if (data == nullptr || count == 0)
        {
            dummy = T();
            return dummy;
        }
        if (index >= count)
        {
            showCheckedArrayMessage("Index out of range [%d] / max: %d (Code: %d)", static_cast<int32_t>(index),
                count, errorCode);
            dummy = T();
            return dummy;
        }
        return data[index];
    }

    // Frees the elements; the array is then empty. UI thread.
    void release()
    {
        delete[] data;
        data = nullptr;
        count = 0;
        byteSize = 0;
    }

private:
    T* data = nullptr;
    T dummy;
    uint32_t count = 0;
    uint32_t byteSize = 0;
    uint8_t valid = 0;
    uint8_t errorCode = 0;
};
