#include "platform/windows/registry_autorun.h"

#include <gtest/gtest.h>

#include <map>

#include "win32_test_support.h"

namespace pellwick::win32 {
namespace {

using testing::utf8;

using testing::ChildProcess;
using testing::probeProgram;

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct Value {
  DWORD type = 0;
  std::wstring data;
  bool operator==(const Value&) const = default;
};
using Values = std::map<std::wstring, Value>;

// Every value of the per-user Run key.
Values runValues() {
  Values values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[512];
    DWORD nameLength = 512;
    wchar_t data[1024] = {};
    DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                      &dataBytes) != ERROR_SUCCESS) {
      break;
    }
    values[name] = Value{type, data};
  }
  RegCloseKey(key);
  return values;
}

void putValue(const std::wstring& name, const std::wstring& data) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// Another program's entry is in the key before every test; the test's own are removed after.
class RegistryAutoRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    putValue(L"OtherTool", L"\"C:\\Other Tool\\other.exe\" /quiet");
    before_ = runValues();
  }
  void TearDown() override {
    const Values now = runValues();
    for (const auto& [name, value] : now) {
      if (!before_.count(name)) clear(name);
    }
    clear(L"OtherTool");
  }
  static void clear(const std::wstring& name) {
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key);
    RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
  }
  // The key as before the test, plus `added`.
  Values beforeWith(const Values& added) const {
    Values expected = before_;
    expected.insert(added.begin(), added.end());
    return expected;
  }

  RegistryAutoRun autoRun_;
  Values before_;
};

TEST_F(RegistryAutoRunTest, OnWritesOneQuotedValueAndLeavesTheOthers) {
  EXPECT_TRUE(autoRun_.setEntry("Pellwick", "C:/Program Files/Pellwick/Pellwick.exe").done);
  EXPECT_EQ(
      runValues(),
      beforeWith({{L"Pellwick", {REG_SZ, L"\"C:\\Program Files\\Pellwick\\Pellwick.exe\""}}}));
  EXPECT_TRUE(autoRun_.setEntry("Pellwick", "D:\\Pellwick.exe").done);
  EXPECT_EQ(runValues(), beforeWith({{L"Pellwick", {REG_SZ, L"\"D:\\Pellwick.exe\""}}}));
}

TEST_F(RegistryAutoRunTest, OffDeletesItAndOffAgainChangesNothing) {
  ASSERT_TRUE(autoRun_.setEntry("Pellwick", "C:\\Tools\\Pellwick.exe").done);
  EXPECT_TRUE(autoRun_.clearEntry("Pellwick").done);
  EXPECT_EQ(runValues(), before_);
  EXPECT_TRUE(autoRun_.clearEntry("Pellwick").done);
  EXPECT_EQ(runValues(), before_);
}

TEST_F(RegistryAutoRunTest, RefusesWhatWouldBeAnUnsafeOrNamelessValue) {
  EXPECT_FALSE(autoRun_.setEntry("Pellwick", "C:\\a\" & evil.exe \"b.exe").done);
  EXPECT_FALSE(autoRun_.setEntry("", "C:\\Tools\\Pellwick.exe").done);
  EXPECT_FALSE(autoRun_.clearEntry("").done);
  EXPECT_EQ(runValues(), before_);
}

TEST_F(RegistryAutoRunTest, NamesAndPathsOutsideTheAnsiCodePageSurvive) {
  EXPECT_TRUE(
      autoRun_.setEntry(utf8(u8"Pellwick \u03a9"), utf8(u8"C:\\\u65e5\u672c\\Pellwick \u03a9.exe"))
          .done);
  EXPECT_EQ(
      runValues(),
      beforeWith({{L"Pellwick \u03a9", {REG_SZ, L"\"C:\\\u65e5\u672c\\Pellwick \u03a9.exe\""}}}));
}

TEST_F(RegistryAutoRunTest, ARenamedProgramRegistersUnderItsOwnName) {
  const std::wstring folder = L"C:\\users\\Public\\Pellwick \u03a9 tools";
  const std::wstring renamed = folder + L"\\Other Name.exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(probeProgram().c_str(), renamed.c_str(), FALSE));

  EXPECT_EQ(ChildProcess(renamed, L"register").waitForExit(), 0u);
  EXPECT_EQ(runValues(), beforeWith({{L"Other Name", {REG_SZ, L"\"" + renamed + L"\""}}}));
  EXPECT_EQ(ChildProcess(renamed, L"unregister").waitForExit(), 0u);
  EXPECT_EQ(runValues(), before_);

  DeleteFileW(renamed.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace pellwick::win32
