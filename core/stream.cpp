#include "core/stream.h"

#include "core/exception.h"
#include "core/gbk.h"
#include "core/text.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#endif

#ifndef _WIN32
#include <unistd.h>
#endif

namespace qh {

int64_t TStream::Size() {
    int64_t here = Seek(0, TSeekOrigin::soCurrent);
    int64_t end = Seek(0, TSeekOrigin::soEnd);
    Seek(here, TSeekOrigin::soBeginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
    int64_t left = count;
    while (left > 0) {
        int64_t n = std::min<int64_t>(left, static_cast<int64_t>(chunk.size()));
        source.ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.data(), n);
        left -= n;
    }
    return count;
}

TMemoryStream::TMemoryStream(std::string_view bytes) : data_(bytes.begin(), bytes.end()) {}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t available = Size() - position_;
    int64_t n = std::clamp<int64_t>(count, 0, std::max<int64_t>(available, 0));
    if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    int64_t end = position_ + count;
    if (end > Size()) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case TSeekOrigin::soBeginning: position_ = offset; break;
    case TSeekOrigin::soCurrent: position_ += offset; break;
    case TSeekOrigin::soEnd: position_ = Size() + offset; break;
    }
    // A position before the start is meaningless; past the end is allowed
    // and reads nothing, as with a file.
    if (position_ < 0) position_ = 0;
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (position_ > Size()) position_ = Size();
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
    target.WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, TFileMode::fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    TFileStream file(fileName, TFileMode::fmCreate);
    SaveToStream(file);
}

namespace {

std::FILE* OpenFile(const std::string& fileName, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(GbkToWide(fileName).c_str(), wideMode.c_str());
#else
    return std::fopen(fileName.c_str(), mode);
#endif
}

} // namespace

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) {
    switch (mode) {
    case TFileMode::fmOpenRead: file_ = OpenFile(fileName, "rb"); break;
    case TFileMode::fmOpenReadWrite: file_ = OpenFile(fileName, "r+b"); break;
    case TFileMode::fmCreate: file_ = OpenFile(fileName, "w+b"); break;
    }
    if (!file_) {
        std::string reason = std::strerror(errno);
        if (mode == TFileMode::fmCreate)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), reason.c_str()));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str()));
    }
}

TFileStream::~TFileStream() {
    if (file_) std::fclose(file_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    if (count <= 0) return 0;
    return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
#ifdef _WIN32
    _fseeki64(file_, offset, whence);
    return _ftelli64(file_);
#else
    fseeko(file_, offset, whence);
    return ftello(file_);
#endif
}

void TFileStream::SetSize(int64_t size) {
    std::fflush(file_);
#ifdef _WIN32
    if (_chsize_s(_fileno(file_), size) != 0) throw EWriteError("Stream write error");
#else
    if (ftruncate(fileno(file_), size) != 0) throw EWriteError("Stream write error");
#endif
}

bool FileExists(const std::string& fileName) {
    std::error_code error;
#ifdef _WIN32
    return std::filesystem::is_regular_file(std::filesystem::path(GbkToWide(fileName)), error);
#else
    return std::filesystem::is_regular_file(fileName, error);
#endif
}

} // namespace qh
