// The program's pictures, compiled in as resources (":/pictures/NAME.png"): the thirteen
// buttons' holders by their Picture, and the other pictures by name.
#pragma once

#include <QPixmap>
#include <QString>

#include "agentphone/core/display.h"

namespace agentphone::ui {

QPixmap NamedPicture(const QString& name);
QPixmap HolderPicture(Picture p);

}  // namespace agentphone::ui
