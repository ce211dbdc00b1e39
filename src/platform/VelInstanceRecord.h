#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The 16-byte record through which a second running copy of a program learns that a first one
// runs. The classic platform kept it in named shared memory, which outlives a copy that crashed
// only until the last handle closes; here it is a file in the user's runtime folder that the first
// copy holds under an exclusive flock(). The kernel drops that lock with the process however it
// ends, so a crashed or killed first copy never leaves a mark behind, while a copy started during
// its run finds the lock taken and reads the record the first copy wrote.
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

    // The record's file for a program file name: the name without folder, upper-cased, in the
    // runtime folder (a temporary folder where the desktop offers none).
    static QString PathFor(const QString& ProgramFile);
    // The record of the running program.
    static QString DefaultPath();

    // Opens the record at Path. The first copy takes the mark and writes Own; a later copy learns
    // of the first and reads what it wrote. False when the record cannot be opened at all, which
    // also counts as no previous instance: a program must still start without its runtime folder.
    bool Open(const QString& Path, const TVelInstanceData& Own);
    // Gives up the record; a first copy releases its mark.
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    bool PreviousInstance() const { return previous_; }
    // What the first copy wrote; zeros when this copy is the first or the record was cut short.
    const TVelInstanceData& Previous() const { return previousData_; }

private:
    int fd_ = -1;
    bool previous_ = false;
    TVelInstanceData previousData_;
};
