#include "records/KroFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "core/Text.h"

namespace {

constexpr char kBlank = ' ';
// The directory entry of a closed file reports sizes below 4 GB only.
constexpr int64_t kClosedSizeLimit = int64_t{1} << 32;

int64_t streamTell(std::FILE* stream) {
#if defined(_WIN32)
    return _ftelli64(stream);
#else
    return ftello(stream);
#endif
}

bool streamSeek(std::FILE* stream, int64_t offset, int origin) {
#if defined(_WIN32)
    return _fseeki64(stream, offset, origin) == 0;
#else
    return fseeko(stream, static_cast<off_t>(offset), origin) == 0;
#endif
}

bool isPrintable(int c) {
    return c >= 0x20 && c <= 0x7E;
}

// A character of a UTF-16 or UTF-32 file as a byte of the suite's code page.
int toCodePage(uint32_t codePoint) {
    if (codePoint > 0xFFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return '?';
    }
    const std::string narrow = text::toNarrow(std::u16string(1, static_cast<char16_t>(codePoint)));
    return narrow.size() == 1 ? static_cast<unsigned char>(narrow[0]) : '?';
}

struct ByteOrderMark {
    std::string_view bytes;
    int encoding;
};

// Longest first, so that FF FE 00 00 is taken for UTF-32 before FF FE.
constexpr ByteOrderMark kMarks[] = {
    {std::string_view("\x00\x00\xFE\xFF", 4), KroFile::kUtf32BigEndian},
    {std::string_view("\xFF\xFE\x00\x00", 4), KroFile::kUtf32LittleEndian},
    {std::string_view("\xEF\xBB\xBF", 3), KroFile::kSingleByte},
    {std::string_view("\xFE\xFF", 2), KroFile::kUtf16BigEndian},
    {std::string_view("\xFF\xFE", 2), KroFile::kUtf16LittleEndian},
};

}  // namespace

KroFile::KroFile(bool hasLineEnd, Env* env)
    : env_(env != nullptr ? env : Env::Default()), hasLineEnd_(hasLineEnd) {
    setName("KroFile");
    status_.set(kNoFileBit);
    status_.set(kNoRecordLengthBit);
    status_.set(kNoBufferBit);
}

KroFile::~KroFile() {
    KroFile::close();
}

const char* KroFile::errorText(int bit) const {
    switch (bit) {
        case kNoFileBit:
            return "Nessun file aperto ";
        case kNoRecordLengthBit:
            return "Lungh. rec. indefinita ";
        case kNoBufferBit:
            return "Record non allocato ";
        case kIoErrorBit:
            return "File I/O error ";
        case kSeekErrorBit:
            return "Posizionam. sul File ";
        default:
            return "Errore non definito ";
    }
}

int64_t KroFile::recordStride() const {
    return static_cast<int64_t>(recordLength_) + (hasLineEnd_ ? 2 : 0);
}

// ---- naming and opening ----

void KroFile::setFileName(const char* text) {
    if (isOpen_) {
        return;
    }
    if (text == nullptr || *text == '\0') {
        fileName_.clear();
        status_.set(kNoFileBit);
        return;
    }
    fileName_ = text;
    status_.reset(kNoFileBit);
}

void KroFile::setFileName(const std::string& text) {
    setFileName(text.c_str());
}

void KroFile::setFileName(std::u16string_view text) {
    setFileName(text::toNarrow(text));
}

void KroFile::setMode(int mode) {
    mode_ = (mode >= kUpdate && mode <= kAppend) ? mode : kOpenOrCreate;
}

bool KroFile::fileIsThere() const {
    return env_->fileExists(fileName_) && !env_->isDirectory(fileName_);
}

const char* KroFile::streamModeFor(bool exists) const {
    switch (mode_) {
        case kUpdate:
            return exists ? "rb+" : nullptr;
        case kCreate:
            return "wb+";
        case kReadOnly:
            return exists ? "rb" : nullptr;
        default:
            return exists ? "rb+" : "wb+";
    }
}

bool KroFile::open(const char* name, int mode) {
    if (name != nullptr && fileName_ != name) {
        close();
        setFileName(name);
    }
    if (fileName_.empty()) {
        return false;
    }
    // Closing first: closing may remove the file when it is empty.
    close();
    const bool exists = fileIsThere();
    atEof_ = false;
    setMode(mode);
    const char* streamMode = streamModeFor(exists);
    if (streamMode == nullptr) {
        return false;
    }
    writeFailed_ = false;
    if (staged_ && mode_ == kCreate) {
        if (!openStaged()) {
            return false;
        }
    } else {
        stream_ = env_->openStream(fileName_, streamMode);
    }
    if (stream_ == nullptr) {
        return false;
    }
    isOpen_ = true;
    openedMode_ = mode_;
    lastDirection_ = Direction::kNone;
    atEnd_ = false;
    endsWithEof_ = false;
    hasBom_ = false;
    bomLength_ = 0;
    encoding_ = kSingleByte;
    if (exists && staging_.empty()) {
        inspectStart();
    }
    if (mode_ == kAppend && !goToEnd()) {
        close();
        return false;
    }
    if (recordLength_ > 0) {
        countRecords();
    }
    return true;
}

bool KroFile::openStaged() {
    if (env_->isDirectory(fileName_)) {
        return false;  // the name could never be given to the file
    }
    const std::string staging = stagingName(fileName_);
    env_->deleteFile(staging);  // left behind by a run that was stopped
    stream_ = env_->openStream(staging, "wb+");
    if (stream_ != nullptr) {
        staging_ = staging;
    }
    return stream_ != nullptr;
}

// Notes the end-of-file mark and the byte-order mark of an existing file. A
// file that is a whole number of records has neither.
void KroFile::inspectStart() {
    const int64_t size = fileSize();
    if (size < 0) {
        return;
    }
    if (recordLength_ > 0 && size % recordLength_ == 0 && size % recordStride() == 0) {
        return;
    }
    endsWithEof_ = size > 0 && lastByteIsEofMark(size);
    detectByteOrderMark();
}

void KroFile::detectByteOrderMark() {
    const int64_t start = streamTell(stream_);
    char head[4] = {};
    std::size_t read = 0;
    if (moveTo(0)) {
        read = std::fread(head, 1, sizeof head, stream_);
    }
    moveTo(start);
    const std::string_view first(head, read);
    for (const ByteOrderMark& mark : kMarks) {
        if (first.starts_with(mark.bytes)) {
            hasBom_ = true;
            bomLength_ = static_cast<int>(mark.bytes.size());
            encoding_ = mark.encoding;
            return;
        }
    }
}

bool KroFile::lastByteIsEofMark(int64_t size) {
    if (size <= 0) {
        return false;
    }
    if (isOpen_) {
        const int64_t start = streamTell(stream_);
        const int last = moveTo(size - 1) ? std::fgetc(stream_) : EOF;
        moveTo(start);
        return last == static_cast<unsigned char>(kEofMark);
    }
    std::FILE* stream = env_->openStream(fileName_, "rb");
    if (stream == nullptr) {
        return false;
    }
    const int last = streamSeek(stream, size - 1, SEEK_SET) ? std::fgetc(stream) : EOF;
    std::fclose(stream);
    return last == static_cast<unsigned char>(kEofMark);
}

void KroFile::close() {
    atEof_ = false;
    if (!isOpen_) {
        return;
    }
    const bool readOnly = openedMode_ == kReadOnly;
    bool failed = false;
    int64_t size = -1;
    if (!readOnly) {
        failed = std::fflush(stream_) != 0;
        size = streamSize();
        failed = failed || std::ferror(stream_) != 0;
    }
    failed = std::fclose(stream_) != 0 || failed;
    stream_ = nullptr;
    isOpen_ = false;
    atEnd_ = false;
    lastDirection_ = Direction::kNone;
    if (readOnly) {
        return;
    }
    if (failed) {
        status_.set(kIoErrorBit);
    }
    if (!staging_.empty()) {
        finishStaged(failed || writeFailed_, size);
    } else if (size == 0) {
        deleteFile();
    }
}

void KroFile::finishStaged(bool failed, int64_t size) {
    const std::string staging = std::move(staging_);
    staging_.clear();
    if (failed) {
        status_.set(kIoErrorBit);
        env_->deleteFile(staging);
        return;
    }
    if (size == 0) {
        env_->deleteFile(staging);
        env_->deleteFile(fileName_);
        return;
    }
    if (!env_->renameFile(staging, fileName_)) {
        status_.set(kIoErrorBit);
        env_->deleteFile(staging);
    }
}

bool KroFile::discard() {
    if (!isOpen_) {
        return true;
    }
    if (staging_.empty()) {
        const bool created = openedMode_ == kCreate;
        close();
        return created ? !env_->fileExists(fileName_) || env_->deleteFile(fileName_) : false;
    }
    writeFailed_ = true;  // what was written is not to be kept
    const bool hadError = status_.test(kIoErrorBit);
    close();
    if (!hadError) {
        status_.reset(kIoErrorBit);  // dropping on purpose is not an error
    }
    return true;
}

void KroFile::openOrThrow(bool openIt) {
    if (!openIt) {
        close();
        return;
    }
    if (fileName_.empty()) {
        throw std::runtime_error("Nome del file " + fileName_ + "\r\n non valido");
    }
    if (!open(nullptr, mode_)) {
        throw std::runtime_error("Apertura di " + fileName_ + "\r\n non riuscita");
    }
}

bool KroFile::deleteFile() {
    if (fileName_.empty()) {
        return false;
    }
    const bool existed = env_->fileExists(fileName_) || !staging_.empty();
    if (!staging_.empty()) {
        discard();  // the staged text never takes the name
    } else if (isOpen_) {
        close();  // may already remove an empty file
    }
    if (env_->fileExists(fileName_)) {
        return env_->deleteFile(fileName_);
    }
    return existed;
}

// ---- sizes and counts ----

int64_t KroFile::fileSize() {
    if (status_.test(kNoFileBit)) {
        return -1;
    }
    if (isOpen_) {
        return streamSize();
    }
    const int64_t size = env_->fileSize(fileName_);
    return (size < 0 || size >= kClosedSizeLimit) ? -1 : size;
}

int64_t KroFile::position() {
    return isOpen_ ? streamTell(stream_) : -1;
}

int64_t KroFile::streamSize() {
    const int64_t start = streamTell(stream_);
    if (start < 0) {
        return -1;
    }
    int64_t size = -1;
    if (streamSeek(stream_, 0, SEEK_END)) {
        size = streamTell(stream_);
    }
    moveTo(start);
    return size;
}

bool KroFile::setRecordLength(int length) {
    buffer_.clear();
    buffer_.shrink_to_fit();
    status_.set(kNoBufferBit);
    writePosition_ = 0;
    if (length <= 0) {
        return false;
    }
    recordLength_ = length;
    try {
        buffer_.assign(static_cast<std::size_t>(length) + 3, '\0');
    } catch (const std::bad_alloc&) {
        status_.set(kAllocationBit);
        return false;
    } catch (const std::length_error&) {
        status_.set(kAllocationBit);
        return false;
    }
    status_.reset(kNoRecordLengthBit);
    status_.reset(kNoBufferBit);
    if (isOpen_) {
        countRecords();
    }
    return true;
}

int KroFile::countRecords() {
    recordCount_ = -1;
    if (status_.test(kNoRecordLengthBit)) {
        return -1;
    }
    const int64_t stride = recordStride() - (lfOnly_ ? 1 : 0);
    const int64_t size = fileSize();
    if (stride <= 0 || size < 0) {
        return -1;
    }
    // One byte more than whole records is tolerated only when it is the mark.
    const int64_t rest = size % stride;
    if (rest > 1 || (rest == 1 && !lastByteIsEofMark(size))) {
        return -1;
    }
    const int64_t count = size / stride;
    if (count > std::numeric_limits<int>::max()) {
        return -1;
    }
    recordCount_ = static_cast<int>(count);
    return recordCount_;
}

bool KroFile::goToEnd() {
    if (status_.any()) {
        return false;
    }
    const int count = countRecords();
    if (!seek(0, kFromEnd, false)) {
        return false;
    }
    return count != -1;
}

// ---- positioning ----

bool KroFile::moveTo(int64_t offset) {
    lastDirection_ = Direction::kNone;
    return offset >= 0 && streamSeek(stream_, offset, SEEK_SET);
}

// The C library asks for a positioning call between a write and a read on the
// same stream; this makes one whenever the direction changes.
void KroFile::prepareFor(Direction next) {
    if (lastDirection_ != Direction::kNone && lastDirection_ != next) {
        streamSeek(stream_, 0, SEEK_CUR);
    }
    lastDirection_ = next;
}

bool KroFile::seek(int64_t offset, int origin, bool inRecords) {
    if (status_.test(kNoFileBit) || !isOpen_) {
        return false;
    }
    const int64_t old = streamTell(stream_);
    if (old < 0) {
        return false;
    }
    if (inRecords) {
        const int64_t stride = recordStride();
        if (stride > 0 && (offset > std::numeric_limits<int64_t>::max() / stride ||
                           offset < std::numeric_limits<int64_t>::min() / stride)) {
            return false;
        }
        offset *= stride;
    }
    int64_t target = 0;
    switch (origin) {
        case kFromStart:
            target = offset;
            break;
        case kFromCurrent:
            target = std::max<int64_t>(0, old + offset);
            break;
        case kFromEnd: {
            const int64_t size = streamSize();
            if (size < 0) {
                return false;
            }
            target = size - (endsWithEof_ ? 1 : 0) + offset;
            break;
        }
        default:
            return false;
    }
    if (!moveTo(target)) {
        moveTo(old);
        return false;
    }
    atEof_ = false;
    atEnd_ = origin == kFromEnd && offset == 0;
    return true;
}

bool KroFile::rewind() {
    if (!isOpen_) {
        return false;
    }
    moveTo(0);
    std::clearerr(stream_);
    atEof_ = false;
    atEnd_ = false;
    status_.reset(kIoErrorBit);
    return true;
}

// ---- the buffer ----

void KroFile::clearBuffer() {
    if (buffer_.empty()) {
        return;
    }
    std::fill_n(buffer_.begin(), recordLength_, kBlank);
    buffer_[recordLength_] = '\0';
    writePosition_ = 0;
}

bool KroFile::append(std::string_view text, int length, bool clearFirst) {
    if (buffer_.empty()) {
        return false;
    }
    if (clearFirst) {
        clearBuffer();
    }
    const std::size_t wanted =
        length == 0 ? text.size() : std::min<std::size_t>(std::max(length, 0), text.size());
    const std::size_t room = static_cast<std::size_t>(std::max(recordLength_ - writePosition_, 0));
    const std::size_t copied = std::min(wanted, room);
    std::copy_n(text.data(), copied, buffer_.begin() + writePosition_);
    writePosition_ += static_cast<int>(copied);
    buffer_[writePosition_] = '\0';
    return true;
}

bool KroFile::append(const char* text, int length, bool clearFirst) {
    return append(text != nullptr ? std::string_view(text) : std::string_view(), length,
                  clearFirst);
}

bool KroFile::putAt(std::string_view text, int offset, int length) {
    if (length == 0 && text.empty()) {
        return true;
    }
    if (buffer_.empty()) {
        return false;
    }
    const int64_t span = length == 0 ? static_cast<int64_t>(text.size()) : length;
    if (offset < 0 || span < 0 || offset + span > recordLength_) {
        status_.set(kBeyondRecordBit);
        return false;
    }
    // A text shorter than the span leaves the rest of the span as it was.
    const std::size_t copied = std::min(static_cast<std::size_t>(span), text.size());
    std::copy_n(text.data(), copied, buffer_.begin() + offset);
    return true;
}

bool KroFile::putAt(const char* text, int offset, int length) {
    if (text == nullptr) {
        return true;
    }
    return putAt(std::string_view(text), offset, length);
}

// ---- records ----

bool KroFile::readRecord(int index) {
    if (status_.test(kNoFileBit) || status_.test(kNoBufferBit) || !isOpen_) {
        return false;
    }
    const int64_t stride = recordStride();
    if (index != -1) {
        atEof_ = false;
        if (index < 0 || !moveTo(index * stride)) {
            atEof_ = true;
            return false;
        }
    }
    prepareFor(Direction::kRead);
    const std::size_t wanted = static_cast<std::size_t>(stride);
    const std::size_t read = std::fread(buffer_.data(), 1, wanted, stream_);
    buffer_[std::min<std::size_t>(read, recordLength_)] = '\0';
    if (read == wanted) {
        return true;
    }
    if (std::feof(stream_) || (read > 0 && buffer_[0] == kEofMark)) {
        atEof_ = true;
    } else {
        status_.set(kIoErrorBit);
    }
    return false;
}

bool KroFile::canWriteRecords() const {
    return !status_.test(kNoFileBit) && !status_.test(kNoBufferBit) && openedMode_ != kReadOnly &&
           isOpen_;
}

bool KroFile::writeRecord(int index) {
    if (!canWriteRecords()) {
        return false;
    }
    if (index != -1 && (index < 0 || !moveTo(index * recordStride()))) {
        status_.set(kSeekErrorBit);
        return false;
    }
    if (!writeRecordBytes()) {
        status_.set(kIoErrorBit);
        return false;
    }
    noteRecordsUpTo(streamTell(stream_));
    return true;
}

bool KroFile::writeRecordBytes() {
    return writeBytes(std::string_view(buffer_.data(), recordLength_), hasLineEnd_ ? "\r\n" : "");
}

// A write never lowers the count: rewriting a record leaves it as it was.
void KroFile::noteRecordsUpTo(int64_t endOffset) {
    const int64_t stride = recordStride();
    if (recordCount_ < 0 || endOffset < 0 || stride <= 0) {
        return;
    }
    const int64_t records = std::min<int64_t>(endOffset / stride, std::numeric_limits<int>::max());
    recordCount_ = std::max(recordCount_, static_cast<int>(records));
}

bool KroFile::rewriteRecord() {
    if (!canWriteRecords()) {
        return false;
    }
    const int64_t stride = recordStride();
    const int64_t current = streamTell(stream_);
    if (current < 0 || !moveTo(current - stride)) {
        status_.set(kSeekErrorBit);
        return false;
    }
    if (!writeRecordBytes()) {
        status_.set(kIoErrorBit);
        return false;
    }
    const int64_t after = streamTell(stream_);
    if (after < 0 || !moveTo(after - stride)) {
        status_.set(kSeekErrorBit);
        return false;
    }
    readRecord(-1);
    return true;
}

bool KroFile::writeLine(bool pageBreak) {
    if (status_.any() || openedMode_ == kReadOnly || !isOpen_) {
        return false;
    }
    const auto terminator = std::find(buffer_.begin(), buffer_.end(), '\0');
    const std::string_view text(buffer_.data(), terminator - buffer_.begin());
    const std::string_view tail = pageBreak ? "\f" : (hasLineEnd_ ? "\r\n" : "");
    if (!writeBytes(text, tail)) {
        status_.set(kIoErrorBit);
        return false;
    }
    return true;
}

// Writes body and tail at the current position. Over a file that ends with
// the 0x1A mark, a write at the very end steps back onto the mark, and a
// write that covers the mark forgets it, so appended data never follows it.
bool KroFile::writeBytes(std::string_view body, std::string_view tail) {
    int64_t mark = -1;
    int64_t start = -1;
    if (endsWithEof_) {
        const int64_t size = streamSize();
        start = streamTell(stream_);
        if (size > 0 && start == size && moveTo(size - 1)) {
            start = size - 1;
        }
        mark = size - 1;
    }
    prepareFor(Direction::kWrite);
    if (std::fwrite(body.data(), 1, body.size(), stream_) != body.size() ||
        std::fwrite(tail.data(), 1, tail.size(), stream_) != tail.size()) {
        writeFailed_ = true;
        return false;
    }
    const int64_t written = static_cast<int64_t>(body.size() + tail.size());
    if (mark >= 0 && start >= 0 && start <= mark && mark < start + written) {
        endsWithEof_ = false;
    }
    return true;
}

std::size_t KroFile::readRaw(char* destination, std::size_t count) {
    if (!isOpen_ || destination == nullptr) {
        return 0;
    }
    prepareFor(Direction::kRead);
    return std::fread(destination, 1, count, stream_);
}

// ---- lines ----

int KroFile::readLine(int maxLength, bool blankNonPrintable) {
    if (!isOpen_ || status_.test(kNoBufferBit)) {
        return -1;
    }
    std::fill(buffer_.begin(), buffer_.end(), '\0');
    if (hasBom_ && streamTell(stream_) == 0) {
        moveTo(bomLength_);
    }
    int64_t maximum = maxLength;
    if (maximum > static_cast<int64_t>(recordLength_) + 2) {
        if (!setRecordLength(maxLength)) {
            return -1;
        }
        maximum = static_cast<int64_t>(recordLength_) + 2;
    }
    if (maximum <= 0) {
        maximum = static_cast<int64_t>(recordLength_) + 2;
    }
    prepareFor(Direction::kRead);
    int64_t count = 0;
    while (count < maximum) {
        const int c = readCharacter();
        if (c == EOF) {
            atEof_ = true;
            return finishLine(count);
        }
        if (c == static_cast<unsigned char>(kEofMark)) {
            return finishLine(count);
        }
        if (c == '\n') {
            if (count > 0 && buffer_[count - 1] == '\r') {
                --count;
            }
            buffer_[count] = '\0';
            return static_cast<int>(count);
        }
        const bool blank = blankNonPrintable && c != '\r' && !isPrintable(c);
        buffer_[count++] = blank ? kBlank : static_cast<char>(c);
    }
    count = takeLineEndAfterFullPiece(count);
    buffer_[count] = '\0';
    return static_cast<int>(count);
}

int KroFile::finishLine(int64_t count) {
    buffer_[count] = '\0';
    return count == 0 ? -1 : static_cast<int>(count);
}

// A line that fills the maximum exactly keeps its line end: the LF (or CR LF)
// right after it is taken now, so it does not come back as an empty line.
int64_t KroFile::takeLineEndAfterFullPiece(int64_t count) {
    const int64_t before = streamTell(stream_);
    const int next = readCharacter();
    if (next == '\n') {
        return (count > 0 && buffer_[count - 1] == '\r') ? count - 1 : count;
    }
    if (next == '\r') {
        if (readCharacter() == '\n') {
            return count;
        }
        moveTo(before);
        return count;
    }
    moveTo(before);
    return count;
}

int KroFile::readCharacter() {
    switch (encoding_) {
        case kUtf16LittleEndian:
            return readUtf16Character(false);
        case kUtf16BigEndian:
            return readUtf16Character(true);
        case kUtf32LittleEndian:
            return readUtf32Character(false);
        case kUtf32BigEndian:
            return readUtf32Character(true);
        default:
            return std::fgetc(stream_);
    }
}

int KroFile::readCodeUnit(int size, bool bigEndian, uint32_t* unit) {
    unsigned char bytes[4] = {};
    if (std::fread(bytes, 1, static_cast<std::size_t>(size), stream_) !=
        static_cast<std::size_t>(size)) {
        return EOF;
    }
    *unit = 0;
    for (int i = 0; i < size; ++i) {
        const int shift = 8 * (bigEndian ? size - 1 - i : i);
        *unit |= static_cast<uint32_t>(bytes[i]) << shift;
    }
    return 0;
}

int KroFile::readUtf16Character(bool bigEndian) {
    uint32_t unit = 0;
    if (readCodeUnit(2, bigEndian, &unit) == EOF) {
        return EOF;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        // A pair stands for one character beyond the code page.
        const int64_t afterHigh = streamTell(stream_);
        uint32_t low = 0;
        if (readCodeUnit(2, bigEndian, &low) == EOF || low < 0xDC00 || low > 0xDFFF) {
            moveTo(afterHigh);
        }
        return '?';
    }
    return toCodePage(unit);
}

int KroFile::readUtf32Character(bool bigEndian) {
    uint32_t unit = 0;
    if (readCodeUnit(4, bigEndian, &unit) == EOF) {
        return EOF;
    }
    return toCodePage(unit);
}
