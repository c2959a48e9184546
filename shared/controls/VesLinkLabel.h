// A label that opens a web or file address when clicked: underlined, in the
// link colour, with the hand cursor.
#pragma once

#include <QColor>
#include <QLabel>

#include <functional>
#include <string>

namespace vesper {

class TVesLinkLabel : public QLabel {
 public:
  explicit TVesLinkLabel(QWidget* parent = nullptr);
  ~TVesLinkLabel() override;

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  QColor LinkColor() const { return linkColor_; }
  // Keeps the colour, gives it to the text and repaints.
  void SetLinkColor(const QColor& color);
  const std::string& LinkTo() const { return linkTo_; }
  void SetLinkTo(const std::string& address) { linkTo_ = address; }

  // How addresses are opened (the desktop's opener by default); tests
  // replace it. Answers the previous opener.
  using TOpener = std::function<void(const std::string&)>;
  static TOpener SetOpener(TOpener opener);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor linkColor_{0, 0, 255};
  std::string linkTo_;
};

}  // namespace vesper
