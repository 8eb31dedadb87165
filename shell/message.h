// The message window (frmMessage) and the version window (frmAboutThis).
#pragma once

#include <QString>

extern QString gMessageText;
