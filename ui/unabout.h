// The about box: product name and version, and links to the developer's pages. One instance
// lives for the whole run; every request shows it again.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace sdmate {

class ClickLabel;

class TfrAbout : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 296;
  static constexpr int kClientHeight = 281;

  // owner: the main window it is centred on.
  explicit TfrAbout(QWidget* owner);

  // Opens a web address with the desktop's browser; the window hands over its own.
  using Opener = std::function<void(const std::string& address)>;
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  // Centres the box on its owner and shows it modally; returns when it is closed.
  int ShowModal();
  void CentreOnOwner();

  // The links.
  void ImageLogoClick();
  void ImagePayClick();
  void lHyoukaClick();
  void lYoubouClick();

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Notice;
  QLabel* Comment2;
  ClickLabel* ImageLogo;
  QLabel* Label1;
  ClickLabel* ImagePay;
  QPlainTextEdit* Memo1;
  ClickLabel* lHyouka;
  ClickLabel* lYoubou;
  QPushButton* OKButton;

 private:
  void Open(const char* address);

  Opener opener_;
};

}  // namespace sdmate
