// The physical device behind a path on Linux, where two targets must not be tested at once.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/volumes.h"
#include "tests/support/temp_folder.h"

namespace velkor::platform {
namespace {

using velkor::testing::TempFolder;

std::wstring Device(const std::wstring& path) {
  std::wstring device;
  EXPECT_TRUE(QueryPhysicalDevice(path, &device)) << WideToUtf8(path);
  return device;
}

TEST(PhysicalDevice, OneFileSystemIsOneDeviceAnotherIsAnother) {
  TempFolder folder;
  CreateFolder(folder.File(L"a"));
  EXPECT_EQ(Device(folder.path()), Device(folder.File(L"a")));
  // procfs has no block device: it stands for itself.
  const std::wstring proc = Device(L"/proc");
  EXPECT_EQ(proc.rfind(L"fs 0:", 0), 0u) << WideToUtf8(proc);
  EXPECT_NE(proc, Device(L"/"));
  std::wstring device;
  EXPECT_FALSE(QueryPhysicalDevice(folder.File(L"fehlt"), &device));
}

// Runs a shell command; false when it fails.
bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Two partitions of one disk (a loop device over an image file) are one device, and that device is
// the one holding the image file.
TEST(PhysicalDevice, PartitionsOfADiskAreTheDiskAndALoopDeviceItsBackingFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "loop devices and mounts need root";
  TempFolder folder;
  const std::string base = WideToUtf8(folder.path());
  const std::string image = base + "/disk.img";
  {
    // An MBR with two partitions of 16 MiB each.
    std::string mbr(512, '\0');
    auto entry = [&mbr](int index, uint32_t start, uint32_t sectors) {
      char* e = &mbr[446 + 16 * index];
      e[4] = 0x0c;
      for (int i = 0; i < 4; ++i) {
        e[8 + i] = static_cast<char>((start >> (8 * i)) & 0xff);
        e[12 + i] = static_cast<char>((sectors >> (8 * i)) & 0xff);
      }
    };
    entry(0, 2048, 32768);
    entry(1, 2048 + 32768, 32768);
    mbr[510] = 0x55;
    mbr[511] = static_cast<char>(0xaa);
    std::ofstream out(image, std::ios::binary);
    out << mbr;
    out.seekp(40 * 1048576 - 1);
    out.put('\0');
  }
  std::string loop;
  if (FILE* pipe = ::popen(("losetup -P -f --show " + image + " 2>/dev/null").c_str(), "r")) {
    char line[256] = {};
    if (std::fgets(line, sizeof line, pipe) != nullptr) loop = line;
    ::pclose(pipe);
  }
  while (!loop.empty() && (loop.back() == '\n' || loop.back() == ' ')) loop.pop_back();
  if (loop.empty()) GTEST_SKIP() << "no loop device here";
  Shell("partx -a " + loop);  // where the kernel did not read the partition table itself
  bool mounted[2] = {false, false};
  for (int p = 0; p < 2; ++p) {
    const std::string node = loop + "p" + std::to_string(p + 1);
    struct stat st;
    for (int i = 0; i < 100 && ::stat(node.c_str(), &st) != 0; ++i) ::usleep(50000);
    const std::string point = base + "/p" + std::to_string(p + 1);
    ::mkdir(point.c_str(), 0755);
    mounted[p] = Shell("mkfs.ext2 -q " + node) && ::mount(node.c_str(), point.c_str(), "ext2", 0, nullptr) == 0;
  }
  if (mounted[0] && mounted[1]) {
    const std::wstring disk = Device(folder.path());
    EXPECT_EQ(Device(Utf8ToWide(base + "/p1")), disk);
    EXPECT_EQ(Device(Utf8ToWide(base + "/p2")), disk);
  }
  for (int p = 0; p < 2; ++p) {
    if (mounted[p]) ::umount((base + "/p" + std::to_string(p + 1)).c_str());
  }
  Shell("losetup -d " + loop);
  if (!mounted[0] || !mounted[1]) GTEST_SKIP() << "the partitions could not be made (mkfs.ext2 or ext2 missing?)";
}

}  // namespace
}  // namespace velkor::platform
