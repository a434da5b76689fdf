// Draws the program's pictures (the button images, the box labels and the dial pad's keys) into
// PNG files: make_pictures OUTPUT_FOLDER. The PNGs are kept beside this file and compiled into
// the program as resources, so the build itself needs no font; run this again after changing
// the table and check the new files in.
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cstdio>

namespace {

enum class Look { kOn, kOff, kLabel, kKeyOn, kKeyOff, kHeader };

struct PictureSpec {
  const char* name;
  const char* text;
  Look look;
  QRgb color;  // the face colour of an active picture
  int width;
  int height;
};

constexpr int kButtonW = 85, kButtonH = 27;
constexpr int kKeyW = 46, kKeyH = 34;
constexpr QRgb kGreen = 0x2e9d4f, kBlue = 0x2f6fc4, kOrange = 0xe0892b, kRed = 0xc8423b,
               kPurple = 0x7a52b3, kTeal = 0x1f8f95, kGray = 0x9a9a9a;

#define BUTTON(name, text, color)                                  \
  {#name "On", text, Look::kOn, color, kButtonW, kButtonH},        \
  {#name "Off", text, Look::kOff, color, kButtonW, kButtonH}
#define KEY(name, text)                                            \
  {"pic" name "_on", text, Look::kKeyOn, kBlue, kKeyW, kKeyH},     \
  {"pic" name "_off", text, Look::kKeyOff, kGray, kKeyW, kKeyH}

const PictureSpec kPictures[] = {
    BUTTON(ImgLogIn, "로그인", kGreen),
    BUTTON(ImgLogOut, "로그아웃", kRed),
    BUTTON(ImgReady, "대기", kGreen),
    BUTTON(ImgNotReady, "휴식", kOrange),
    BUTTON(imgAftCallWork, "후처리", kPurple),
    BUTTON(ImgMakeCall, "전화걸기", kBlue),
    BUTTON(ImgAnswer, "전화받기", kGreen),
    BUTTON(ImgHangUp, "전화끊기", kRed),
    BUTTON(ImgHold, "보류", kOrange),
    BUTTON(ImgRetrieve, "보류해제", kOrange),
    BUTTON(ImgConsult, "호전환", kTeal),
    BUTTON(ImgReConnect, "전환취소", kTeal),
    BUTTON(ImgTransfer, "전환", kTeal),
    BUTTON(ImgConference, "3자통화", kPurple),
    {"imgAgent", "상담원ID", Look::kLabel, kBlue, 70, 25},
    {"imgDn", "내선번호", Look::kLabel, kBlue, 70, 25},
    {"Image1", "휴식 사유를 고르세요", Look::kHeader, kOrange, 180, 26},
    KEY("1", "1"), KEY("2", "2"), KEY("3", "3"), KEY("4", "4"), KEY("5", "5"),
    KEY("6", "6"), KEY("7", "7"), KEY("8", "8"), KEY("9", "9"), KEY("0", "0"),
    KEY("Clear", "지움"), KEY("Send", "걸기"), KEY("Close", "닫기"),
};

QImage Draw(const PictureSpec& p) {
  QImage image(p.width, p.height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const QRectF box(0.5, 0.5, p.width - 1.0, p.height - 1.0);
  const bool active = p.look == Look::kOn || p.look == Look::kKeyOn;
  QColor face = active || p.look == Look::kHeader ? QColor(p.color) : QColor(0xe4, 0xe4, 0xe4);
  QColor text = active || p.look == Look::kHeader ? QColor(Qt::white) : QColor(0x8a, 0x8a, 0x8a);
  if (p.look == Look::kLabel) {
    face = QColor(0xf2, 0xf5, 0xfb);
    text = QColor(p.color).darker(130);
  }
  QLinearGradient gradient(0, 0, 0, p.height);
  gradient.setColorAt(0, face.lighter(125));
  gradient.setColorAt(1, face.darker(112));
  QPainterPath path;
  path.addRoundedRect(box, 5, 5);
  painter.fillPath(path, gradient);
  painter.setPen(QPen(face.darker(150), 1));
  painter.drawPath(path);

  QFont font(QStringLiteral("NanumGothic"));
  font.setPixelSize(p.look == Look::kKeyOn || p.look == Look::kKeyOff ? 15 : 12);
  font.setBold(p.look != Look::kLabel);
  painter.setFont(font);
  painter.setPen(text);
  painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(p.text));
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_FOLDER\n");
    return 2;
  }
  QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  for (const PictureSpec& p : kPictures) {
    const QString file = out.filePath(QString::fromLatin1(p.name) + QStringLiteral(".png"));
    if (!Draw(p).save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
