#include "agentphone/ui/soft_phone_window.h"

#include <QCloseEvent>
#include <QSignalBlocker>

#include "agentphone/core/soft_phone.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/pictures.h"
#include "agentphone/ui/window_layout.h"

namespace agentphone::ui {
namespace {

using Handler = void (SoftPhone::*)();

// Which of the core's handlers each button's press, release and click runs.
struct ButtonWiring {
  Button button;
  Handler press;
  Handler release;
  Handler click;
};

constexpr ButtonWiring kWiring[] = {
    {Button::imgLogIn, &SoftPhone::imgLogIn_MouseDown, nullptr, nullptr},
    {Button::ImgReady, &SoftPhone::ImgReady_MouseDown, &SoftPhone::ImgReady_MouseUp, nullptr},
    {Button::ImgNotReady, &SoftPhone::ImgNotReady_MouseDown, &SoftPhone::ImgNotReady_MouseUp,
     nullptr},
    {Button::imgAftCallWork, nullptr, nullptr, &SoftPhone::imgAftCallWork_Click},
    {Button::ImgMakeCall, nullptr, &SoftPhone::ImgMakeCall_MouseUp, nullptr},
    {Button::ImgAnswer, &SoftPhone::ImgAnswer_MouseDown, nullptr, nullptr},
    {Button::ImgHangUp, &SoftPhone::ImgHangUp_MouseDown, nullptr, nullptr},
    {Button::ImgHold, &SoftPhone::ImgHold_MouseDown, nullptr, nullptr},
    {Button::ImgRetrieve, &SoftPhone::ImgRetrieve_MouseDown, nullptr, nullptr},
    {Button::ImgConsult, nullptr, nullptr, &SoftPhone::ImgConsult_Click},
    {Button::ImgReConnect, nullptr, nullptr, &SoftPhone::ImgReConnect_Click},
    {Button::ImgTransfer, nullptr, nullptr, &SoftPhone::ImgTransfer_Click},
    {Button::ImgConference, nullptr, nullptr, &SoftPhone::ImgConference_Click},
};

QString Name(std::string_view name) { return QString::fromLatin1(name.data(), qsizetype(name.size())); }

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

SoftPhoneWindow::SoftPhoneWindow(double logicalDpi, QWidget* parent)
    : QWidget(parent), dpi_(logicalDpi) {
  setObjectName(QStringLiteral("frmSoftPhone"));
  setWindowTitle(ProgramTitle());
  Build();
  Wire();
}

SoftPhoneWindow::~SoftPhoneWindow() = default;

void SoftPhoneWindow::Build() {
  auto place = [this](QWidget* w, const QString& name) {
    w->setObjectName(name);
    placed_.insert(name, w);
  };
  auto label = [&](const QString& name) {
    auto* l = new QLabel(this);
    place(l, name);
    l->setPixmap(NamedPicture(name));
    l->setFixedSize(l->pixmap().deviceIndependentSize().toSize());
    return l;
  };
  auto frameBox = [&](const QString& name) {
    auto* e = new QLineEdit(this);
    place(e, name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
  };
  auto entry = [&](const QString& name) {
    auto* e = new QLineEdit(this);
    place(e, name);
    e->setFrame(false);
    return e;
  };
  auto panel = [&](const QString& name) {
    auto* l = new QLabel(this);
    place(l, name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    return l;
  };
  auto check = [&](const QString& name, const char* text) {
    auto* c = new QCheckBox(Q(text), this);
    place(c, name);
    c->setFixedSize(c->sizeHint());
    return c;
  };
  auto push = [&](const QString& name, const char* text) {
    auto* b = new QPushButton(Q(text), this);
    place(b, name);
    b->setAutoDefault(false);
    return b;
  };

  imgAgent_ = label(QStringLiteral("imgAgent"));
  imgDn_ = label(QStringLiteral("imgDn"));
  // The visible boxes are frames; the agent types into the borderless boxes inside them.
  txtCTIID_ = frameBox(QStringLiteral("txtCTIID"));
  txtDN_ = frameBox(QStringLiteral("txtDN"));
  txt_realid_ = entry(QStringLiteral("txt_realid"));
  txtRealdn_ = entry(QStringLiteral("txtRealdn"));
  sStatue_ = panel(QStringLiteral("sStatue"));
  sAninum_ = panel(QStringLiteral("sAninum"));
  QFont bold = sStatue_->font();
  bold.setBold(true);
  sStatue_->setFont(bold);
  sAninum_->setFont(bold);
  chk_Ready_ = check(QStringLiteral("chk_Ready"), "자동대기");
  chk_up_ = check(QStringLiteral("chk_up"), "항상위");
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const auto b = static_cast<Button>(i);
    buttons_[i] = new ImageButton(Name(ButtonName(b)), this);
    place(buttons_[i], buttons_[i]->objectName());
    buttons_[i]->SetPicture(HolderPicture(OffPicture(b)), Name(PictureName(OffPicture(b))));
    buttons_[i]->setEnabled(false);
  }
  cmdChange_ = push(QStringLiteral("cmdChange"), "화면전환");
  cmdCallBack_ = push(QStringLiteral("cmdCallBack"), "콜백");
  cmdDropCall_ = push(QStringLiteral("cmdDropCall"), "포기호");
  txt_realid_->raise();
  txtRealdn_->raise();
  setTabOrder(txt_realid_, txtRealdn_);
}

void SoftPhoneWindow::Forward(void (SoftPhone::*handler)()) {
  if (phone_) (phone_->*handler)();
}

void SoftPhoneWindow::Wire() {
  for (const ButtonWiring& w : kWiring) {
    ImageButton* button = ButtonWidget(w.button);
    if (w.press) connect(button, &ImageButton::pressed, this, [this, &w] { Forward(w.press); });
    if (w.release) {
      connect(button, &ImageButton::released, this, [this, &w] { Forward(w.release); });
    }
    if (w.click) connect(button, &ImageButton::clicked, this, [this, &w] { Forward(w.click); });
  }
  connect(txt_realid_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (phone_) phone_->SetAgentIdText(ToUtf8(text));
  });
  connect(txtRealdn_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (phone_) phone_->SetExtensionText(ToUtf8(text));
  });
  connect(chk_Ready_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (phone_) phone_->SetAutoReadyChecked(ticked);
  });
  connect(chk_up_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (phone_) phone_->SetOnTopChecked(ticked);
  });
  connect(cmdChange_, &QPushButton::clicked, this, [this] {
    if (phone_) phone_->cmdChange_Click();
  });
  connect(cmdCallBack_, &QPushButton::clicked, this, [this] {
    if (phone_) phone_->cmdCallBack_Click();
  });
  connect(cmdDropCall_, &QPushButton::clicked, this, [this] {
    if (phone_) phone_->cmdDropCall_Click();
  });
}

void SoftPhoneWindow::DisplayChanged(const Display& display) {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const ButtonState& s = display.buttons[i];
    const QString name = Name(PictureName(s.picture));
    if (buttons_[i]->PictureName() != name) buttons_[i]->SetPicture(HolderPicture(s.picture), name);
    buttons_[i]->setEnabled(s.enabled);
  }
  sStatue_->setText(FromUtf8(display.sStatue));
  sAninum_->setText(FromUtf8(display.sAninum));
  // Only a box whose text differs is set, so the agent's caret stays where it is.
  const QString id = FromUtf8(display.txt_realid), dn = FromUtf8(display.txtRealdn);
  if (txt_realid_->text() != id) txt_realid_->setText(id);
  if (txtRealdn_->text() != dn) txtRealdn_->setText(dn);
  const QSignalBlocker readyBlock(chk_Ready_), upBlock(chk_up_);
  chk_Ready_->setChecked(display.chk_Ready);
  chk_up_->setChecked(display.chk_up);
}

void SoftPhoneWindow::MoveToTopLeft() { move(0, 0); }

double SoftPhoneWindow::Dpi() const { return dpi_ > 0 ? dpi_ : logicalDpiX(); }

void SoftPhoneWindow::ChangeView(const std::string& gubun, bool dbFlag) {
  const bool horizontal = IsHorizontal(gubun);
  const double dpi = Dpi();
  auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  for (const LayoutPlace& p : LayoutTable()) {
    QWidget* w = placed_.value(Name(p.control));
    if (!w) continue;
    if (p.listButton) {
      w->setVisible(dbFlag);
      if (!dbFlag) continue;
    }
    const TwipsRect& r = horizontal ? p.horizontal : p.vertical;
    if (r.Sized()) {
      w->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
    } else {
      w->move(px(r.left), px(r.top));
    }
  }
  const TwipsSize size = WindowOuterSize(horizontal, dbFlag);
  outer_ = QSize(px(size.width), px(size.height));
  ApplyOuterSize();
}

void SoftPhoneWindow::ApplyOuterSize() {
  if (outer_.isEmpty()) return;
  // The frame is known once the window manager has framed the shown window; until then the
  // whole outer size goes to the inside, and the size is applied again when the frame arrives.
  frame_ = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
  setFixedSize(outer_ - frame_);
}

bool SoftPhoneWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if ((event->type() == QEvent::Move || event->type() == QEvent::Show) && isVisible() &&
      frameGeometry().size() - geometry().size() != frame_) {
    ApplyOuterSize();
  }
  return handled;
}

void SoftPhoneWindow::SetAlwaysOnTop(bool onTop) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (shown) show();  // a change of the window's flags hides it
}

void SoftPhoneWindow::FocusAgentId() { txt_realid_->setFocus(); }

void SoftPhoneWindow::FocusExtension() { txtRealdn_->setFocus(); }

void SoftPhoneWindow::closeEvent(QCloseEvent* event) {
  if (phone_ && !phone_->Form_Unload()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace agentphone::ui
