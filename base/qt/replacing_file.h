#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <string>

#include "base/file_output.h"

// A file that replaces `path` whole, as editors save. It is written unnamed in the target's folder
// (O_TMPFILE: no one else can open or have made it, and a crash while writing leaves nothing),
// synced, linked exclusively under a random name beside `path` (nothing already there is touched)
// and renamed into place; the folder's entry is synced after. Where a file system has no unnamed
// files, it is written under a random name made exclusively (mkostemp). A link at `path` is
// followed: the link stays and the file it names is replaced. The new file keeps the replaced
// file's mode. A target that is not a regular file (a folder, device, FIFO or socket) is refused
// without being opened, so nothing waits for a reader.
class ReplacingFile final : public FileOutput {
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile() override;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // Gives the new file this mode instead of the replaced file's, for a file already moved aside.
    [[nodiscard]] bool SetMode(mode_t mode);

    bool Write(const void* data, std::size_t size) override;
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size) override;
    bool Commit() override;
    std::string Error() const override { return m_error; }

private:
    [[nodiscard]] bool Name();
    bool Fail();

    QByteArray m_target;  // `path` with its links followed
    QByteArray m_folder;
    QByteArray m_temporary;  // the file's name until it takes the target's; empty while unnamed
    int m_fd = -1;
    std::string m_error;
};
