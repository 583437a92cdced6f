#pragma once
// Fakes of the small platform services: autorun entries, user and folders, single instance,
// the title record.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/autorun.h"
#include "platform/single_instance.h"
#include "platform/title_record.h"
#include "platform/user_folders.h"

namespace pellwick::testing {

class FakeAutoRun : public AutoRun {
 public:
  AutoRunResult setEntry(const std::string& name, const std::string& executablePath) override {
    if (!failure.empty()) return {false, "autostart/" + name, failure};
    entries[name] = executablePath;
    return {true, {}, {}};
  }
  AutoRunResult clearEntry(const std::string& name) override {
    if (!failure.empty()) return {false, "autostart/" + name, failure};
    entries.erase(name);
    return {true, {}, {}};
  }
  std::map<std::string, std::string> entries;
  std::string failure;  // the reason every change fails with; none when empty
};

class FakeUserFolders : public UserFolders {
 public:
  std::string userName() override { return user; }
  std::string profileFolder(const std::string& u) override { return "/home/" + u; }
  bool createFolder(const std::string& path) override {
    created.push_back(path);
    auto slash = path.find_last_of('/');
    std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (!folders.count(parent) || folders.count(path)) return false;
    folders.insert(path);
    return true;
  }
  bool openFolder(const std::string& path) override {
    opened.push_back(path);
    return folders.count(path) > 0;
  }
  std::string user = "user1";
  std::set<std::string> folders{"/home/user1"};
  std::vector<std::string> created;
  std::vector<std::string> opened;
};

class FakeSingleInstance : public SingleInstance {
 public:
  bool anotherInstanceRunning() override {
    ++checks;
    return otherRunning;
  }
  bool otherRunning = false;
  int checks = 0;
};

// The record in memory; `kept` says what a run that ended now would leave.
class FakeTitleRecord : public TitleRecord {
 public:
  std::optional<RewrittenTitle> load() override { return kept; }
  void keep(const RewrittenTitle& title) override {
    kept = title;
    ++keeps;
  }
  void clear() override { kept.reset(); }
  std::optional<RewrittenTitle> kept;
  int keeps = 0;
};

}  // namespace pellwick::testing
