#pragma once

class QCoreApplication;

namespace ruror::qt {

// Makes Qt's own texts (standard buttons, the folder chooser, the text
// fields' context menus) Spanish where the system has Qt's Spanish
// translation, and formats dates and numbers the Spanish way.
void installSpanishTranslation(QCoreApplication& application);

}  // namespace ruror::qt
