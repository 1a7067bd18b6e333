// KroFile is the program's only way to touch a data file: the flow files for
// the sorter, reports, the settings file and the suite's own files. It is a
// file of fixed-length records, each optionally followed by CR LF, read and
// written through one record buffer of recordLength + 3 bytes; the same
// object also reads and writes text lines. KroTrack derives from it.
//
//   KroFile report(true);               // records end with CR LF
//   report.setMode(KroFile::kCreate);
//   report.setRecordLength(512);        // the line buffer
//   report.setFileName(path);
//   report.openOrThrow(true);           // throws std::runtime_error with the Italian text
//   report.append("Rimessa effetti", 0, true);
//   report.writeLine(false);
//   report.openOrThrow(false);          // closes; a file left empty is removed
//
// Opening modes: 0 update an existing file ("rb+"), 1 create or empty ("wb+"),
// 2 open or create (default), 3 read only (must exist; every write is
// refused), 4 as 2 and then to the end (fails unless whole records).
//
// Files are bytes. Record n (from 0) starts at n * stride, stride =
// recordLength + 2 with line ends, else recordLength. A single 0x1A byte after
// the last record (the end-of-file mark) is tolerated when counting and is
// overwritten when records or lines are appended at the end. A byte-order mark
// at the start is recognised at opening and skipped when lines are read from
// the start; record positions do not allow for it.
//
// Failures set status bits (texts in errorText) and return false or -1:
//   0 no valid file name, 1 no record length, 2 no record buffer,
//   3 a read or write failed (cleared only by rewind), 4 positioning failed
//   (never cleared), 6 putAt beyond the record, 7 the buffer could not be
//   allocated. While any bit is set, writeLine and goToEnd refuse to work.
// Construction sets bits 0, 1 and 2; they clear as a name, a length and a
// buffer are given. Only openOrThrow throws.
//
// Staged writing (setStagedWriting): a file opened in mode 1 is written under
// the staging name "<name>.part" in the same folder and given its own name by
// close() only when every write and the final flush succeeded, replacing the
// earlier file in one step. Until then the earlier file stays as it was, so a
// reader never finds a file that is cut short under the real name. A failed
// write, or discard(), removes the staging file and leaves the earlier file
// alone; a staged file that stayed empty removes both, as mode 1 does.
//
// Lines of a file whose mark announces UTF-16 or UTF-32 are converted, one
// character at a time, to the suite's code page (Windows-1252); a character
// the code page lacks reads as '?'. Every other file is read byte by byte.
//
// A derived class replaces the virtual operations it needs; they are declared
// in the order the suite's classes rely on (errorText, errorTextW, setName come
// from KroFastObject).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/KroFastObject.h"
#include "platform/Env.h"

class KroFile : public KroFastObject {
public:
    // Opening modes.
    static constexpr int kUpdate = 0;
    static constexpr int kCreate = 1;
    static constexpr int kOpenOrCreate = 2;
    static constexpr int kReadOnly = 3;
    static constexpr int kAppend = 4;

    // Encodings announced by a byte-order mark (0 also when there is none).
    static constexpr int kSingleByte = 0;
    static constexpr int kUtf16LittleEndian = 1;
    static constexpr int kUtf16BigEndian = 2;
    static constexpr int kUtf32LittleEndian = 3;
    static constexpr int kUtf32BigEndian = 4;

    // Origins of seek.
    static constexpr int kFromStart = 0;
    static constexpr int kFromCurrent = 1;
    static constexpr int kFromEnd = 2;

    // Status bits.
    static constexpr int kNoFileBit = 0;
    static constexpr int kNoRecordLengthBit = 1;
    static constexpr int kNoBufferBit = 2;
    static constexpr int kIoErrorBit = 3;
    static constexpr int kSeekErrorBit = 4;
    static constexpr int kBeyondRecordBit = 6;
    static constexpr int kAllocationBit = 7;

    // The end-of-file mark.
    static constexpr char kEofMark = 0x1A;

    // hasLineEnd: every record (and every line written) is followed by CR LF.
    explicit KroFile(bool hasLineEnd, Env* env = Env::Default());
    // Closes the file (an empty file not opened read-only is removed).
    ~KroFile() override;

    KroFile(const KroFile&) = delete;
    KroFile& operator=(const KroFile&) = delete;

    // "Nessun file aperto ", "Lungh. rec. indefinita ", "Record non allocato ",
    // "File I/O error ", "Posizionam. sul File " for bits 0 to 4, else
    // "Errore non definito " (trailing blanks included).
    const char* errorText(int bit) const override;

    // Whole records in the file (a single trailing 0x1A mark tolerated), also
    // kept as recordCount(); -1 without a record length or when the size is
    // not a whole number of records.
    virtual int countRecords();
    // Frees the buffer and makes one of length + 3 bytes (zeroed; the write
    // position goes back to 0); counts the records when a file is open. A
    // length of 0 or less returns false and leaves no buffer (bit 2).
    virtual bool setRecordLength(int length);
    // Opens the file. name: a new file name (nullptr keeps the stored one);
    // mode: 0 to 4, stored with setMode. Modes 0 and 3 fail when the file does
    // not exist, mode 4 when it is not a whole number of records; no bit is
    // set for these. An open file is closed first.
    virtual bool open(const char* name, int mode);
    // Closes the file; a file of 0 bytes not opened read-only is removed.
    // A write that failed only when the stream was flushed sets bit 3.
    virtual void close();
    // Closes the file when open and removes it; true when the file existed and
    // is gone.
    virtual bool deleteFile();
    // Closes the file without keeping what was written: a staged file's
    // staging file is removed (the earlier file under the name stays); an
    // unstaged file opened in mode 1 is removed. True when nothing written
    // is left.
    bool discard();
    // Counts the records and moves to the end (before the 0x1A mark); true
    // when the file is a whole number of records. Refused while any bit is set.
    virtual bool goToEnd();
    // Reads record index (-1: the next one) into the buffer, terminated after
    // recordLength bytes (the line end is dropped). False at the end of the
    // file (atEof) or on a read error (bit 3).
    virtual bool readRecord(int index);
    // Reads one text line into the buffer and returns its length, or -1 at
    // the end of the file (or at a 0x1A byte with nothing before it).
    // maxLength: at most this many characters (0: recordLength + 2; a larger
    // value enlarges the buffer to it and reads up to maxLength + 2). A
    // longer line comes in pieces on successive calls; a line exactly the
    // maximum long takes its line end with it (no empty line follows). An
    // LF ends the line and a CR just before it is dropped. With
    // blankNonPrintable every character other than CR outside 0x20..0x7E is
    // stored as a blank. A 0x1A byte ends the line and is not stored.
    virtual int readLine(int maxLength, bool blankNonPrintable);
    // Writes recordLength bytes of the buffer (and CR LF) at record index, or
    // at the current position with -1. Refused in mode 3.
    virtual bool writeRecord(int index);
    // Writes the buffer over the record just read, then reads it back.
    virtual bool rewriteRecord();
    // Writes the buffer's text up to its terminator, then a form feed when
    // pageBreak, else CR LF when the file has line ends. Refused in mode 3
    // and while any status bit is set.
    virtual bool writeLine(bool pageBreak);
    // Moves by offset bytes (records when inRecords) from kFromStart,
    // kFromCurrent or kFromEnd. From the end of a file with the 0x1A mark the
    // offset counts from before the mark; from the current position a move
    // before the start stops at the start. Failure leaves the position.
    virtual bool seek(int64_t offset, int origin, bool inRecords);
    // Fills the record with blanks, terminates it, write position 0.
    virtual void clearBuffer();
    // Back to the start; clears bit 3.
    virtual bool rewind();

    // The file name: ignored while a file is open; an empty text (or nullptr)
    // removes the name and sets bit 0. The wide text is converted to the
    // suite's code page.
    void setFileName(const char* text);
    void setFileName(const std::string& text);
    void setFileName(std::u16string_view text);
    // A mode outside 0 to 4 becomes 2.
    void setMode(int mode);
    // Staged writing for files opened in mode 1 from the next opening on.
    void setStagedWriting(bool staged) { staged_ = staged; }
    bool stagedWriting() const { return staged_; }
    // The staging name of a file name.
    static std::string stagingName(const std::string& fileName) { return fileName + ".part"; }
    // With true opens the stored name with the stored mode, throwing
    // std::runtime_error with "Nome del file " + name + "\r\n non valido"
    // when there is no name or "Apertura di " + name + "\r\n non riuscita"
    // when opening fails. With false closes.
    void openOrThrow(bool openIt);

    // Bytes in the file: of the open stream (position kept) or of the file on
    // disk (-1 when missing or 4 GB or more); -1 without a name.
    int64_t fileSize();
    // The byte offset in the open file; -1 when none is open.
    int64_t position();

    // Copies text (its first length characters; 0: all of it) at the write
    // position, at most up to the record length, advances the write position
    // and terminates the buffer after it, so writeLine writes up to there.
    // clearFirst: clearBuffer() first. False without a buffer. The terminator
    // is a byte of the record: compose records for writeRecord with putAt.
    bool append(std::string_view text, int length = 0, bool clearFirst = false);
    bool append(const char* text, int length = 0, bool clearFirst = false);
    // Copies the text (at most length characters; 0: all of it) to the record
    // at offset, without terminating. When offset + length passes the record
    // length: bit 6 and false, nothing copied. nullptr or empty: true.
    bool putAt(std::string_view text, int offset, int length = 0);
    bool putAt(const char* text, int offset, int length = 0);

    // The record buffer (recordLength + 3 bytes, always terminated within
    // them), or nullptr when there is none.
    const char* buffer() const { return buffer_.empty() ? nullptr : buffer_.data(); }
    std::size_t bufferSize() const { return buffer_.size(); }

    const std::string& fileName() const { return fileName_; }
    bool isOpen() const { return isOpen_; }
    bool hasLineEnd() const { return hasLineEnd_; }
    bool atEof() const { return atEof_; }
    bool atEnd() const { return atEnd_; }
    bool lfOnly() const { return lfOnly_; }
    bool hasBom() const { return hasBom_; }
    int bomLength() const { return bomLength_; }
    int encoding() const { return encoding_; }
    bool endsWithEof() const { return endsWithEof_; }
    int recordLength() const { return recordLength_; }
    int writePosition() const { return writePosition_; }
    int mode() const { return mode_; }
    int recordCount() const { return recordCount_; }
    // recordLength + 2 with line ends, else recordLength: the distance between
    // records on disk.
    int64_t recordStride() const;

protected:
    // The record buffer for a derived class; nullptr when there is none.
    char* bufferData() { return buffer_.empty() ? nullptr : buffer_.data(); }
    void setHasLineEnd(bool hasLineEnd) { hasLineEnd_ = hasLineEnd; }
    // Records end with LF alone: one byte less per record when counting.
    void setLfOnly(bool lfOnly) { lfOnly_ = lfOnly; }
    // Reads up to count bytes at the current position; the number read.
    std::size_t readRaw(char* destination, std::size_t count);
    Env* env() const { return env_; }

private:
    enum class Direction { kNone, kRead, kWrite };

    bool fileIsThere() const;
    bool openStaged();
    // Publishes or drops the staging file of the stream just closed.
    void finishStaged(bool failed, int64_t size);
    const char* streamModeFor(bool exists) const;
    void inspectStart();
    void detectByteOrderMark();
    bool lastByteIsEofMark(int64_t size);
    int64_t streamSize();
    bool moveTo(int64_t offset);
    void prepareFor(Direction next);
    bool canWriteRecords() const;
    bool writeRecordBytes();
    bool writeBytes(std::string_view body, std::string_view tail);
    void noteRecordsUpTo(int64_t endOffset);
    int readCharacter();
    int readCodeUnit(int size, bool bigEndian, uint32_t* unit);
    int readUtf16Character(bool bigEndian);
    int readUtf32Character(bool bigEndian);
    int64_t takeLineEndAfterFullPiece(int64_t count);
    int finishLine(int64_t count);

    Env* env_;
    bool isOpen_ = false;
    bool hasLineEnd_;
    bool atEof_ = false;
    bool lfOnly_ = false;
    bool atEnd_ = false;
    bool hasBom_ = false;
    int bomLength_ = 0;
    int encoding_ = kSingleByte;
    int recordLength_ = 0;
    int writePosition_ = 0;
    int mode_ = kOpenOrCreate;
    int openedMode_ = kOpenOrCreate;  // the mode the open stream was opened with
    int recordCount_ = -1;
    bool endsWithEof_ = false;
    std::string fileName_;
    std::vector<char> buffer_;
    std::FILE* stream_ = nullptr;
    bool staged_ = false;
    std::string staging_;       // the staging file of the open stream; empty when unstaged
    bool writeFailed_ = false;  // a write to the open stream failed
    Direction lastDirection_ = Direction::kNone;
};
