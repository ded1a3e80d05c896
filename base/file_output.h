#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file written whole. It takes its target's place only when Commit succeeds; dropped before
// that, it leaves nothing behind.
class FileOutput {
public:
    virtual ~FileOutput() = default;
    // Appends the bytes. False when not all of them were written; Error() then says why.
    [[nodiscard]] virtual bool Write(const void* data, std::size_t size) = 0;
    // Writes over bytes already written, from `offset`; later writes still append.
    [[nodiscard]] virtual bool WriteAt(std::uint64_t offset, const void* data,
                                       std::size_t size) = 0;
    // Puts the file in its target's place, durably.
    [[nodiscard]] virtual bool Commit() = 0;
    // Why opening or the last failed step failed ("No space left on device"), or empty.
    virtual std::string Error() const = 0;
};
