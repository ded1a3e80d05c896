#pragma once

#include <string>

#include "base/file_output.h"

// A file in memory with room for `room` bytes: the write that passes them fails, as on a full
// disk, and so does every later one.
struct MemoryFileOutput final : FileOutput {
    bool Write(const void* data, std::size_t size) override {
        ++writes;
        if (bytes.size() + size > room) error = "No space left on device";
        if (error.empty()) bytes.append(static_cast<const char*>(data), size);
        return error.empty();
    }
    bool WriteAt(std::uint64_t at, const void* data, std::size_t size) override {
        return bytes.replace(at, size, static_cast<const char*>(data), size).size() > 0;
    }
    bool Commit() override { return committed = error.empty(); }
    std::string Error() const override { return error; }

    std::string bytes, error;
    std::size_t room = std::string::npos;
    int writes = 0;
    bool committed = false;
};
