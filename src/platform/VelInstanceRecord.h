#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The 16-byte record through which a running copy of a program learns that another copy runs.
// The classic platform kept it in named shared memory, which outlives a copy that crashed only
// until the last handle closes; here it is a file in a folder only this user may write, which
// every running copy holds under a shared lock. The kernel drops a copy's lock with the process
// however it ends, so a crashed or killed copy never leaves a mark behind, and a new copy that
// cannot lock the file alone knows another copy runs, whichever copies have started and gone
// before. The first copy of a run of copies writes the record; the later ones read it; the last
// one to close it removes the file.
struct TVelInstanceData {
    std::uint32_t Instance = 0;   // the first copy's process id
    std::uint32_t AppWindow = 0;  // its application window, 0 when it has none
    std::uint32_t MainWindow = 0; // its main window, 0 when none existed yet
    std::uint32_t Reserved = 0;

    static constexpr int kSize = 16;
    // Little-endian words in the order above.
    std::array<unsigned char, kSize> ToBytes() const;
    static TVelInstanceData FromBytes(const unsigned char* Bytes, int Length);
};

class TVelInstanceRecord {
public:
    TVelInstanceRecord() = default;
    ~TVelInstanceRecord();
    TVelInstanceRecord(const TVelInstanceRecord&) = delete;
    TVelInstanceRecord& operator=(const TVelInstanceRecord&) = delete;

    // The folder the records live in, where no other user may create or replace a file: the
    // runtime folder when it is the user's own and private, otherwise a folder named after the
    // application (QCoreApplication::applicationName) in the user's state folder ($XDG_STATE_HOME,
    // or ~/.local/state), created private. Empty when neither is usable.
    static QString Folder();
    // The record's file for a program file name: the name without folder, upper-cased, in
    // Folder(); empty when there is no such folder.
    static QString PathFor(const QString& ProgramFile);
    // The record of the running program.
    static QString DefaultPath();

    // Opens the record at Path and holds it while open. When no other copy holds it, this copy
    // writes Own; otherwise it learns of the others and reads what the first of them wrote.
    // False when the record cannot be opened at all, or is not this user's own regular file,
    // which also counts as no previous instance: a program must still start without it.
    bool Open(const QString& Path, const TVelInstanceData& Own);
    // Gives up the record, and removes its file when no other copy holds it.
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    bool PreviousInstance() const { return previous_; }
    // What the first copy wrote; zeros when this copy is the first, the record was cut short or
    // the first copy did not finish writing it in time.
    const TVelInstanceData& Previous() const { return previousData_; }

private:
    enum class TAttach { Held, Failed, Removed };
    TAttach Attach(const QByteArray& File, const TVelInstanceData& Own);

    int fd_ = -1;
    QByteArray path_;
    bool previous_ = false;
    TVelInstanceData previousData_;
};
