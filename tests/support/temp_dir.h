#pragma once

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace onefortwo {

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/onefortwo-test-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made ? std::string(made) + "/" : std::string("/tmp/");
  }
  ~TempDir() {
    const std::string command = "rm -rf '" + path_ + "'";
    if (std::system(command.c_str()) != 0) std::perror("rm");
  }
  const std::string& path() const { return path_; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ + name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ + name, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  bool Exists(const std::string& name) const { return ::access((path_ + name).c_str(), F_OK) == 0; }

 private:
  std::string path_;
};

}  // namespace onefortwo
