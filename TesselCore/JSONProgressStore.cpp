// SPDX-License-Identifier: GPL-3.0-or-later
#include "JSONProgressStore.h"

#include <cerrno>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ProgressJSON.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

std::string reason(int error) {
    return std::generic_category().message(error);
}

std::string quoted(const fs::path& path) {
    return "“" + path.string() + "”";
}

Error readError(const fs::path& path, const std::string& why) {
    return Error{"The file " + quoted(path.filename()) + " couldn’t be read: " + why + "."};
}

Error writeError(const fs::path& file, const std::string& why) {
    return Error{"The file " + quoted(file.filename()) + " couldn’t be saved in the folder " +
                 quoted(file.parent_path()) + ": " + why + "."};
}

// Closes the descriptor on every path out of a function.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    // The result of close(2), which can report a deferred write error.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

  private:
    int m_fd;
};

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

// The disk starts on what has been written while the rest is still being encoded, so that the
// flush at the end of a save waits for the last few megabytes only, not for the whole file (a
// 100,000-card file is about 40 MB; bench/app/learner). The flush itself is unchanged: this only
// starts writing early, and promises nothing.
constexpr std::uint64_t kWritebackStep = std::uint64_t{4} << 20;

void startWriteback(int fd, std::uint64_t offset, std::uint64_t length) {
#ifdef __linux__
    ::sync_file_range(fd, off_t(offset), off_t(length), SYNC_FILE_RANGE_WRITE);
#else
    (void)fd, (void)offset, (void)length;
#endif
}

// ".progress.json.1a2b3c4d.tmp": the temporary file a save writes beside "progress.json".
constexpr std::size_t kTemporarySuffixLength = 13;  // ".%08x.tmp"

bool isOurTemporaryName(const std::string& name, const std::string& targetName) {
    if (name.size() != 1 + targetName.size() + kTemporarySuffixLength || name[0] != '.') {
        return false;
    }
    if (name.compare(1, targetName.size(), targetName) != 0) return false;
    const std::string_view suffix = std::string_view(name).substr(1 + targetName.size());
    if (suffix.front() != '.' || !suffix.ends_with(".tmp")) return false;
    for (char c : suffix.substr(1, 8)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// The file a save replaces: a link at the path stays a link, the file it points to is replaced.
Result<fs::path> saveTarget(const fs::path& path) {
    fs::path target = path;
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        target = fs::weakly_canonical(path, error);
        if (error) return tl::unexpected(writeError(path, error.message()));
    }
    if (target.filename().empty()) return tl::unexpected(writeError(path, reason(EISDIR)));
    if (target.parent_path().empty()) target = fs::path(".") / target;
    return target;
}

// Creates a new, empty file beside `target` that nobody else can have open.
int createTemporaryFile(const fs::path& target, fs::path& temporary) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", unsigned(entropy()));
        std::string name(1, '.');
        name += target.filename().string();
        name += suffix;
        temporary = target.parent_path() / name;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes the new file's text into the temporary file through `fill`; its error, when it fails,
// is the save's.
Result<void> replaceAtomically(const fs::path& target,
                               const std::function<Result<void>(int fd)>& fill) {
    fs::path temporary;
    FileDescriptor file(createTemporaryFile(target, temporary));
    if (file.get() < 0) return tl::unexpected(writeError(target, reason(errno)));

    const auto abandon = [&](int error) {
        ::unlink(temporary.c_str());
        return tl::unexpected(writeError(target, reason(error)));
    };
    // A replaced file keeps the permissions the learner gave it.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(file.get(), existing.st_mode & 07777);
    }
    if (auto filled = fill(file.get()); !filled) {
        ::unlink(temporary.c_str());
        return filled;
    }
    if (::fsync(file.get()) != 0) return abandon(errno);
    if (file.close() != 0) return abandon(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon(errno);

    // The rename itself is only durable once the folder is flushed too.
    FileDescriptor folder(::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0 && ::fsync(folder.get()) != 0 && errno == EIO) {
        return tl::unexpected(writeError(target, reason(EIO)));
    }
    return {};
}

}  // namespace

JSONProgressStore::JSONProgressStore(fs::path filePath, bool prettyPrinted)
    : m_filePath(std::move(filePath)), m_prettyPrinted(prettyPrinted) {}

JSONProgressStore::~JSONProgressStore() = default;

void JSONProgressStore::load(LoadCompletion completion) {
    m_executor.submit([path = m_filePath, completion = std::move(completion)] {
        removeStaleTemporaryFiles(path);
        auto result = readFile(path);
        if (completion) completion(std::move(result));
    });
}

void JSONProgressStore::save(std::shared_ptr<const LearnerProgress> progress,
                             SaveCompletion completion) {
    m_executor.submit([path = m_filePath, pretty = m_prettyPrinted, progress = std::move(progress),
                       completion = std::move(completion)]() mutable {
        auto result = writeFile(path, *progress, pretty);
        // Let go before answering: the caller may change the progress once answered.
        progress.reset();
        if (completion) completion(std::move(result));
    });
}

Result<LearnerProgress> JSONProgressStore::readFile(const fs::path& path) {
    // Non-blocking so that a named pipe at the path cannot stall the worker; a regular file
    // reads the same either way.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return LearnerProgress{};
        return tl::unexpected(readError(path, reason(errno)));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) return tl::unexpected(readError(path, reason(errno)));
    if (S_ISDIR(info.st_mode)) return tl::unexpected(readError(path, reason(EISDIR)));
    if (!S_ISREG(info.st_mode)) return tl::unexpected(readError(path, "it is not a regular file"));
    if (std::uintmax_t(info.st_size) > kMaxFileSize) {
        return tl::unexpected(readError(path, "it is larger than 512 MB"));
    }

    std::string text;
    try {
        text.resize(std::size_t(info.st_size));
        std::size_t filled = 0;
        for (;;) {
            if (filled == text.size()) {
                // The file may have grown since fstat; keep reading up to the limit.
                if (text.size() >= kMaxFileSize) {
                    return tl::unexpected(readError(path, "it is larger than 512 MB"));
                }
                text.resize(text.size() + 65536);
            }
            const ssize_t got = ::read(file.get(), text.data() + filled, text.size() - filled);
            if (got < 0) {
                if (errno == EINTR) continue;
                return tl::unexpected(readError(path, reason(errno)));
            }
            if (got == 0) break;
            filled += std::size_t(got);
        }
        text.resize(filled);
    } catch (const std::bad_alloc&) {
        return tl::unexpected(readError(path, "there is not enough memory"));
    }
    return ProgressJSON::decodeFile(text, path.filename().string());
}

Result<void> JSONProgressStore::writeFile(const fs::path& path, const LearnerProgress& progress,
                                          bool prettyPrinted) {
    auto resolved = saveTarget(path);
    if (!resolved) return tl::unexpected(resolved.error());
    const fs::path& target = *resolved;
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return tl::unexpected(Error{"The folder " + quoted(target.parent_path()) +
                                    " couldn’t be created: " + error.message() + "."});
    }
    // Written as it is encoded: a large progress is never held whole in memory a second time.
    return replaceAtomically(target, [&](int fd) -> Result<void> {
        int writeErrno = 0;
        std::uint64_t written = 0;
        std::uint64_t handedToDisk = 0;
        auto encoded =
            ProgressJSON::encodeInPieces(progress, prettyPrinted, [&](std::string_view piece) {
                if (!writeAll(fd, piece)) {
                    writeErrno = errno;
                    return false;
                }
                written += piece.size();
                if (written - handedToDisk >= kWritebackStep) {
                    startWriteback(fd, handedToDisk, written - handedToDisk);
                    handedToDisk = written;
                }
                return true;
            });
        if (encoded) return {};
        if (writeErrno != 0) return tl::unexpected(writeError(target, reason(writeErrno)));
        return tl::unexpected(encoded.error());
    });
}

std::int64_t JSONProgressStore::removeStaleTemporaryFiles(const fs::path& path) {
    auto target = saveTarget(path);
    if (!target) return 0;
    const std::string targetName = target->filename().string();
    std::int64_t removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(target->parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        // Only plain files of our own naming: a link or folder with such a name is not ours.
        if (!it->is_regular_file(error) || it->is_symlink(error)) continue;
        if (!isOurTemporaryName(it->path().filename().string(), targetName)) continue;
        if (::unlink(it->path().c_str()) == 0) ++removed;
    }
    return removed;
}

}  // namespace tessel
