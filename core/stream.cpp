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

TMemoryStream::TMemoryStream(std::string_view bytes) : FData(bytes.begin(), bytes.end()) {}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    int64_t available = Size() - FPosition;
    int64_t n = std::clamp<int64_t>(count, 0, std::max<int64_t>(available, 0));
    if (n > 0) std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    int64_t end = FPosition + count;
    if (end > Size()) FData.resize(static_cast<size_t>(end));
    std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    switch (origin) {
    case TSeekOrigin::soBeginning: FPosition = offset; break;
    case TSeekOrigin::soCurrent: FPosition += offset; break;
    case TSeekOrigin::soEnd: FPosition = Size() + offset; break;
    }
    // A position before the start is meaningless; past the end is allowed
    // and reads nothing, as with a file.
    if (FPosition < 0) FPosition = 0;
    return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
    FData.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
    if (FPosition > Size()) FPosition = Size();
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    int64_t size = source.Size();
    SetSize(size);
    source.ReadBuffer(FData.data(), size);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& target) const {
    target.WriteBuffer(FData.data(), static_cast<int64_t>(FData.size()));
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
    case TFileMode::fmOpenRead: FFile = OpenFile(fileName, "rb"); break;
    case TFileMode::fmOpenReadWrite: FFile = OpenFile(fileName, "r+b"); break;
    case TFileMode::fmCreate: FFile = OpenFile(fileName, "w+b"); break;
    }
    if (!FFile) {
        std::string reason = std::strerror(errno);
        if (mode == TFileMode::fmCreate)
            throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName.c_str(), reason.c_str()));
        throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName.c_str(), reason.c_str()));
    }
}

TFileStream::~TFileStream() {
    if (FFile) std::fclose(FFile);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    if (count <= 0) return 0;
    return static_cast<int64_t>(std::fread(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    return static_cast<int64_t>(std::fwrite(buffer, 1, static_cast<size_t>(count), FFile));
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                 : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                    : SEEK_END;
#ifdef _WIN32
    _fseeki64(FFile, offset, whence);
    return _ftelli64(FFile);
#else
    fseeko(FFile, offset, whence);
    return ftello(FFile);
#endif
}

void TFileStream::SetSize(int64_t size) {
    std::fflush(FFile);
#ifdef _WIN32
    if (_chsize_s(_fileno(FFile), size) != 0) throw EWriteError("Stream write error");
#else
    if (ftruncate(fileno(FFile), size) != 0) throw EWriteError("Stream write error");
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
