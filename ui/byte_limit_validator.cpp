// Title fields limited in Shift-JIS bytes.
#include "ui/byte_limit_validator.h"

#include <QLineEdit>

#include "platform/text_codec.h"

namespace sdmate {

ByteLimitValidator::ByteLimitValidator(TextCodec& codec, std::size_t limit, QLineEdit* field)
    : QValidator(field), codec_(codec), limit_(limit), field_(field) {}

std::size_t ByteLimitValidator::BytesOf(const QString& text) const {
  return codec_.FromUtf8(text.toStdString()).size();
}

QValidator::State ByteLimitValidator::validate(QString& input, int& /*position*/) const {
  const std::size_t bytes = BytesOf(input);
  if (bytes <= limit_) return Acceptable;
  if (field_ != nullptr && bytes < BytesOf(field_->text())) return Acceptable;
  return Invalid;
}

}  // namespace sdmate
