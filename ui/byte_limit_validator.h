// A title field's limit: the handset counts titles in Shift-JIS bytes, so the field refuses
// typing that would make its text longer than the limit once converted.
#pragma once

#include <QString>
#include <QValidator>
#include <cstddef>
#include <functional>
#include <string_view>

class QLineEdit;

namespace sdmate {

// How many bytes a text (UTF-8) takes on the card.
using ByteCounter = std::function<std::size_t(std::string_view utf8)>;
// The first character of a text the handset cannot show, or an empty text.
using LackingCharacter = std::function<QString(const QString& text)>;

class ByteLimitValidator : public QValidator {
  Q_OBJECT

 public:
  // field is the line edit the validator serves: a text that is already too long (a title
  // taken from a long file name) may still be shortened.
  ByteLimitValidator(ByteCounter bytesOf, std::size_t limit, QLineEdit* field);

  State validate(QString& input, int& position) const override;
  std::size_t BytesOf(const QString& text) const;
  std::size_t limit() const { return limit_; }
  // Typing or pasting a character the handset lacks is refused; the field then says
  // inputRejected and refused() names the character.
  void SetLackingCheck(LackingCharacter lacking) { lacking_ = std::move(lacking); }
  const QString& refused() const { return refused_; }

 private:
  ByteCounter bytesOf_;
  LackingCharacter lacking_;
  mutable QString refused_;
  std::size_t limit_;
  QLineEdit* field_;
};

}  // namespace sdmate
