// A device Qt writes into that writes straight to a file descriptor and
// keeps the system's own words for the first failure. QFile reports a write
// the system took only in part ("disk full" half-way) as "Unknown error".
#pragma once

#include <QIODevice>
#include <string>

namespace pellory::specimen {

class DescriptorDevice : public QIODevice {
 public:
  // `fd` stays the caller's: it is neither closed nor rewound.
  explicit DescriptorDevice(int fd);

  bool isSequential() const override { return true; }
  // Empty while every write went through; else why the first one failed.
  const std::string& Failure() const { return failure_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  int fd_;
  std::string failure_;
};

}  // namespace pellory::specimen
