#include "tools/zip/zip_sources.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/atomic_file.h"
#include "platform/error.h"

namespace vistrel::zip {
namespace {

namespace fs = std::filesystem;

// Reading a file for libzip: the part both sources share.
struct FileReader {
  FileReader(fs::path file, std::string& failureText) : path(std::move(file)), failure(failureText) {
    zip_error_init(&error);
  }
  ~FileReader() {
    if (in) std::fclose(in);
    zip_error_fini(&error);
  }

  zip_int64_t fail(int code, int systemError, const std::string& what) {
    zip_error_set(&error, code, systemError);
    failure = what + " " + path.string() + (systemError ? std::string(": ") + std::strerror(systemError) : "");
    return -1;
  }

  zip_int64_t stat(void* data, zip_uint64_t length) {
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error);
    if (!st) return -1;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
      // libzip takes a read error with ENOENT for "no archive yet".
      zip_error_set(&error, ZIP_ER_READ, errno);
      if (errno != ENOENT) failure = "Cannot read " + path.string() + ": " + std::strerror(errno);
      return -1;
    }
    zip_stat_init(st);
    st->size = static_cast<zip_uint64_t>(info.st_size);
    st->mtime = info.st_mtime;
    st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(zip_stat_t);
  }

  zip_int64_t open() {
    in = std::fopen(path.c_str(), "rb");
    return in ? 0 : fail(ZIP_ER_OPEN, errno, "Cannot read");
  }

  zip_int64_t read(void* data, zip_uint64_t length) {
    const std::size_t got = std::fread(data, 1, length, in);
    if (got < length && std::ferror(in)) return fail(ZIP_ER_READ, errno, "Cannot read");
    return static_cast<zip_int64_t>(got);
  }

  zip_int64_t close() {
    std::fclose(in);
    in = nullptr;
    return 0;
  }

  fs::path path;
  std::string& failure;
  std::FILE* in = nullptr;
  zip_error_t error;
};

zip_int64_t seek(std::FILE* file, void* data, zip_uint64_t length, zip_error_t* error) {
  auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, error);
  if (!args) return -1;
  if (::fseeko(file, args->offset, args->whence) != 0) {
    zip_error_set(error, ZIP_ER_SEEK, errno);
    return -1;
  }
  return 0;
}

zip_int64_t tell(std::FILE* file, zip_error_t* error) {
  const off_t position = ::ftello(file);
  if (position < 0) zip_error_set(error, ZIP_ER_TELL, errno);
  return position;
}

struct ArchiveFile : FileReader {
  using FileReader::FileReader;
  std::unique_ptr<platform::AtomicFile> out;

  zip_int64_t write(zip_int64_t (ArchiveFile::*step)(void*, zip_uint64_t), void* data, zip_uint64_t length) {
    try {
      return (this->*step)(data, length);
    } catch (const Error& e) {
      zip_error_set(&error, ZIP_ER_WRITE, 0);
      failure = e.what();
      return -1;
    }
  }
  zip_int64_t begin(void*, zip_uint64_t) {
    out = std::make_unique<platform::AtomicFile>(path);
    return 0;
  }
  zip_int64_t put(void* data, zip_uint64_t length) {
    out->write(data, length);
    return static_cast<zip_int64_t>(length);
  }
  zip_int64_t commit(void*, zip_uint64_t) {
    out->commit();
    out.reset();
    return 0;
  }
};

zip_int64_t archiveCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* archive = static_cast<ArchiveFile*>(state);
  switch (command) {
    case ZIP_SOURCE_SUPPORTS:
      return ZIP_SOURCE_SUPPORTS_WRITABLE;
    case ZIP_SOURCE_STAT:
      return archive->stat(data, length);
    case ZIP_SOURCE_OPEN:
      return archive->open();
    case ZIP_SOURCE_READ:
      return archive->read(data, length);
    case ZIP_SOURCE_CLOSE:
      return archive->close();
    case ZIP_SOURCE_SEEK:
      return seek(archive->in, data, length, &archive->error);
    case ZIP_SOURCE_TELL:
      return tell(archive->in, &archive->error);
    case ZIP_SOURCE_BEGIN_WRITE:
      return archive->write(&ArchiveFile::begin, data, length);
    case ZIP_SOURCE_WRITE:
      return archive->write(&ArchiveFile::put, data, length);
    case ZIP_SOURCE_SEEK_WRITE:
      return seek(archive->out->stream(), data, length, &archive->error);
    case ZIP_SOURCE_TELL_WRITE:
      return tell(archive->out->stream(), &archive->error);
    case ZIP_SOURCE_COMMIT_WRITE:
      return archive->write(&ArchiveFile::commit, data, length);
    case ZIP_SOURCE_ROLLBACK_WRITE:
      archive->out.reset();  // removes the temporary file
      return 0;
    case ZIP_SOURCE_REMOVE: {
      // Only an archive left without entries is removed; ours always gets some.
      std::error_code ec;
      fs::remove(archive->path, ec);
      return ec ? archive->fail(ZIP_ER_REMOVE, ec.value(), "Cannot remove") : 0;
    }
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&archive->error, data, length);
    case ZIP_SOURCE_FREE:
      delete archive;
      return 0;
    default:
      zip_error_set(&archive->error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

struct EntryFile : FileReader {
  EntryFile(fs::path file, std::string& failureText, EntryWatch entryWatch)
      : FileReader(std::move(file), failureText), watch(std::move(entryWatch)) {}
  EntryWatch watch;
};

zip_int64_t entryCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* entry = static_cast<EntryFile*>(state);
  switch (command) {
    case ZIP_SOURCE_SUPPORTS:
      return ZIP_SOURCE_SUPPORTS_READABLE;
    case ZIP_SOURCE_STAT:
      return entry->stat(data, length);
    case ZIP_SOURCE_OPEN:
      if (entry->watch.opening) entry->watch.opening();
      return entry->open();
    case ZIP_SOURCE_READ:
      if (entry->watch.cancelled && entry->watch.cancelled()) {
        zip_error_set(&entry->error, ZIP_ER_CANCELLED, 0);
        return -1;
      }
      return entry->read(data, length);
    case ZIP_SOURCE_CLOSE:
      return entry->close();
    case ZIP_SOURCE_ERROR:
      return zip_error_to_data(&entry->error, data, length);
    case ZIP_SOURCE_FREE:
      delete entry;
      return 0;
    default:
      zip_error_set(&entry->error, ZIP_ER_OPNOTSUPP, 0);
      return -1;
  }
}

template <typename State>
zip_source_t* makeSource(zip_source_callback callback, std::unique_ptr<State> state) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_function_create(callback, state.get(), &error);
  zip_error_fini(&error);
  if (!source) throw Error("Out of memory");
  state.release();  // the source owns it now and frees it with ZIP_SOURCE_FREE
  return source;
}

}  // namespace

zip_source_t* archiveFileSource(const fs::path& archive, std::string& failure) {
  return makeSource(archiveCallback, std::make_unique<ArchiveFile>(archive, failure));
}

zip_source_t* entryFileSource(const fs::path& file, EntryWatch watch, std::string& failure) {
  return makeSource(entryCallback, std::make_unique<EntryFile>(file, failure, std::move(watch)));
}

}  // namespace vistrel::zip
