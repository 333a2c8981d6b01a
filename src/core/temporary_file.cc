#include "core/temporary_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <tuple>

#include "core/file_error.h"

namespace casewright {
namespace {

constexpr std::size_t kRandomLength = 6;
constexpr std::size_t kNameSize = kTemporaryPrefix.size() + kRandomLength + 1;
enum SlotState : int { kFree, kClaimed, kListed };

}  // namespace

// One entry of the list the signal handler reads.  A slot is claimed while
// its fields are filled and listed only once they are complete, so the
// handler never reads a half-written name.
struct ListedFile {
  std::atomic<int> state{kFree};
  int folder_fd = -1;
  char name[kNameSize] = {};
};

namespace {
using Slot = ListedFile;
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free state");

// The slots come in blocks chained from `first_block`.  A block is added
// when every slot is taken and is never freed, so the handler can walk the
// chain at any moment without a lock; free slots are reused before a new
// block is made, so the chain only grows to the most files open at once.
struct SlotBlock {
  std::array<Slot, 64> slots;
  std::atomic<SlotBlock*> next{nullptr};
};
static_assert(std::atomic<SlotBlock*>::is_always_lock_free, "the signal handler needs a lock-free chain");

SlotBlock first_block;

Slot* Claim() {
  for (SlotBlock* block = &first_block;;) {
    for (Slot& slot : block->slots) {
      int expected = kFree;
      if (slot.state.compare_exchange_strong(expected, kClaimed)) return &slot;
    }
    SlotBlock* next = block->next.load();
    if (next == nullptr) {
      auto added = std::make_unique<SlotBlock>();
      // Another thread may have chained a block meanwhile: then use that one.
      if (block->next.compare_exchange_strong(next, added.get())) next = added.release();
    }
    block = next;
  }
}

// The slot now listing `name` in the folder open as `folder_fd`.
Slot* List(int folder_fd, const char* name) {
  Slot* slot = Claim();
  slot->folder_fd = folder_fd;
  std::strncpy(slot->name, name, kNameSize - 1);
  slot->state.store(kListed);
  return slot;
}

void Unlist(Slot* slot) {
  if (slot != nullptr) slot->state.store(kFree);
}

std::string RandomName() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  // Seeded once per thread: asking the system's random device for every
  // character cost a batch of small texts about 5 % of its time.  The name
  // need not be unguessable, as the file is created exclusively (another
  // name is drawn when it exists).
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kRandomLength; ++i) name += kAlphabet[pick(random)];
  return name;
}

// Only async-signal-safe calls: unlinkat and raise.  SA_RESETHAND has already
// restored the default action, which the raised signal meets once the
// handler returns.
extern "C" void RemoveListedFilesAndDie(int signal_number) {
  for (SlotBlock* block = &first_block; block != nullptr; block = block->next.load()) {
    for (Slot& slot : block->slots) {
      if (slot.state.load() == kListed) ::unlinkat(slot.folder_fd, slot.name, 0);
    }
  }
  ::raise(signal_number);
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& for_messages)
    : for_messages_(for_messages) {
  folder_fd_ = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd_ < 0) throw FileError(errno, for_messages_);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    std::string name = RandomName();
    // Listed before it exists, so that no moment passes in which a signal
    // would leave the new file behind.
    slot_ = List(folder_fd_, name.c_str());
    fd_ = ::openat(folder_fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      path_ = folder + "/" + name;
      break;
    }
    int error = errno;
    Unlist(slot_);
    slot_ = nullptr;
    if (error != EEXIST) {
      ::close(folder_fd_);
      throw FileError(error, for_messages_);
    }
  }
  if (fd_ < 0) {
    ::close(folder_fd_);
    throw FileError(EEXIST, for_messages_);
  }
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!path_.empty()) {
    ::unlink(path_.c_str());
    Unlist(slot_);
  }
  ::close(folder_fd_);
}

void TemporaryFile::Close() {
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw FileError(errno, for_messages_);
}

void TemporaryFile::MoveTo(const std::string& name) {
  std::string temporary_name = path_.substr(path_.rfind('/') + 1);
  if (::renameat(folder_fd_, temporary_name.c_str(), folder_fd_, name.c_str()) != 0) {
    throw FileError(errno, for_messages_);
  }
  path_.clear();
  Unlist(slot_);
  slot_ = nullptr;
}

void TemporaryFile::TakeOwnerAndMode(const struct stat& of) {
  const std::string name = path_.substr(path_.rfind('/') + 1);
  // Most often the new file already has them (the user replacing a file of
  // their own): then nothing is changed, as each change is written to the
  // file system's journal, which in a batch of small texts costs more than
  // the stat.
  struct stat mine;
  const bool known = ::fstatat(folder_fd_, name.c_str(), &mine, AT_SYMLINK_NOFOLLOW) == 0;
  // Best effort: only root may give a file away, and only a member may give
  // it a group.  The owner comes first, since changing it clears the
  // set-user-ID bits that the mode then restores.
  const bool same_owner = known && mine.st_uid == of.st_uid && mine.st_gid == of.st_gid;
  if (!same_owner && ::fchownat(folder_fd_, name.c_str(), of.st_uid, of.st_gid, AT_SYMLINK_NOFOLLOW) != 0) {
    std::ignore = ::fchownat(folder_fd_, name.c_str(), static_cast<uid_t>(-1), of.st_gid, AT_SYMLINK_NOFOLLOW);
  }
  if (!same_owner || (mine.st_mode & 07777) != (of.st_mode & 07777)) {
    std::ignore = ::fchmodat(folder_fd_, name.c_str(), of.st_mode & 07777, 0);
  }
}

void RemoveTemporaryFilesOnSignals() {
  struct sigaction action = {};
  action.sa_handler = RemoveListedFilesAndDie;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal_number);
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current;
    if (::sigaction(signal_number, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    ::sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace casewright
