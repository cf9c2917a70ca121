// SHA-256 through the system's cryptography primitives (BCrypt).
#include <windows.h>
// bcrypt.h needs windows.h first.
#include <bcrypt.h>

#include <cstdio>
#include <vector>

#include "platform/hash.h"

namespace sdmate {

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
  ~State() {
    if (hash != nullptr) ::BCryptDestroyHash(hash);
    if (algorithm != nullptr) ::BCryptCloseAlgorithmProvider(algorithm, 0);
  }
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  ::BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
  if (state_->algorithm != nullptr) {
    ::BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0);
  }
}

Sha256::~Sha256() = default;

void Sha256::Add(std::string_view bytes) {
  if (state_->hash == nullptr) return;
  // BCrypt takes no const input and at most ULONG bytes at a time.
  std::vector<unsigned char> copy(bytes.begin(), bytes.end());
  std::size_t at = 0;
  while (at < copy.size()) {
    const ULONG piece = static_cast<ULONG>(std::min<std::size_t>(copy.size() - at, 1u << 30));
    ::BCryptHashData(state_->hash, copy.data() + at, piece, 0);
    at += piece;
  }
}

std::string Sha256::Finish() {
  unsigned char digest[32] = {};
  if (state_->hash != nullptr) ::BCryptFinishHash(state_->hash, digest, sizeof digest, 0);
  std::string hex;
  for (unsigned char byte : digest) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex;
}

std::string Sha256Hex(std::string_view bytes) {
  Sha256 hash;
  hash.Add(bytes);
  return hash.Finish();
}

}  // namespace sdmate
