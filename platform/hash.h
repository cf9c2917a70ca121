// SHA-256 of bytes: the fingerprints of a card's tables and the names of its history folders.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace sdmate {

// Bytes fed in pieces; Finish gives the digest in lower-case hexadecimal (64 characters).
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void Add(std::string_view bytes);
  std::string Finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string Sha256Hex(std::string_view bytes);

}  // namespace sdmate
