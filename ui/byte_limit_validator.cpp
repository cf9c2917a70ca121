// Title fields limited in Shift-JIS bytes.
#include "ui/byte_limit_validator.h"

#include <QLineEdit>

namespace sdmate {

ByteLimitValidator::ByteLimitValidator(ByteCounter bytesOf, std::size_t limit, QLineEdit* field)
    : QValidator(field), bytesOf_(std::move(bytesOf)), limit_(limit), field_(field) {}

std::size_t ByteLimitValidator::BytesOf(const QString& text) const {
  return bytesOf_(text.toStdString());
}

QValidator::State ByteLimitValidator::validate(QString& input, int& /*position*/) const {
  if (lacking_) {
    refused_ = lacking_(input);
    if (!refused_.isEmpty()) return Invalid;
  }
  const std::size_t bytes = BytesOf(input);
  if (bytes <= limit_) return Acceptable;
  if (field_ != nullptr && bytes < BytesOf(field_->text())) return Acceptable;
  return Invalid;
}

}  // namespace sdmate
