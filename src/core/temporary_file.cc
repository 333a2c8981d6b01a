#include "core/temporary_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#include "core/file_error.h"

namespace casewright {
namespace {

constexpr std::size_t kRandomLength = 6;
constexpr std::size_t kNameSize = kTemporaryPrefix.size() + kRandomLength + 1;

// One entry of the table the signal handler reads.  A slot is claimed while
// its fields are filled and listed only once they are complete, so the
// handler never reads a half-written name.
enum SlotState : int { kFree, kClaimed, kListed };
struct Slot {
  std::atomic<int> state{kFree};
  int folder_fd = -1;
  char name[kNameSize] = {};
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free state");

// Far more than the files of the runs one program makes at a time.
std::array<Slot, 64> listed_files;

// The slot now listing `name` in the folder open as `folder_fd`, or -1 when
// the table is full (the file is then not removed on a signal).
int List(int folder_fd, const char* name) {
  for (std::size_t i = 0; i < listed_files.size(); ++i) {
    Slot& slot = listed_files[i];
    int expected = kFree;
    if (!slot.state.compare_exchange_strong(expected, kClaimed)) continue;
    slot.folder_fd = folder_fd;
    std::strncpy(slot.name, name, kNameSize - 1);
    slot.state.store(kListed);
    return static_cast<int>(i);
  }
  return -1;
}

void Unlist(int slot) {
  if (slot >= 0) listed_files[static_cast<std::size_t>(slot)].state.store(kFree);
}

std::string RandomName() {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  std::string name(kTemporaryPrefix);
  for (std::size_t i = 0; i < kRandomLength; ++i) name += kAlphabet[pick(random)];
  return name;
}

// Only async-signal-safe calls: unlinkat and raise.  SA_RESETHAND has already
// restored the default action, which the raised signal meets once the
// handler returns.
extern "C" void RemoveListedFilesAndDie(int signal_number) {
  for (Slot& slot : listed_files) {
    if (slot.state.load() == kListed) ::unlinkat(slot.folder_fd, slot.name, 0);
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
    slot_ = -1;
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
  slot_ = -1;
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
