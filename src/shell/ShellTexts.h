#pragma once

#include <QString>

// Texts of the viewer that files, tests and other programs rely on word for word.
namespace vocab::texts {

inline const QString ApplicationTitle = QStringLiteral("Vocabulinarum");
// The main window's caption starts with a blank.
inline const QString MainWindowCaption = QStringLiteral(" Vocabulinarum");
inline const QString InstanceMutexName = QStringLiteral("vocabulinarum_mutex");
inline const QString AlreadyRunning = QStringLiteral("Программа уже запущена");
inline const QString RootNodeCaption = QStringLiteral("Все словари");
inline const QString NewDictionariesFolder = QStringLiteral("Новые словари");

inline const QString FatalMissingFiles = QStringLiteral(
    "Критическая ошибка при открытии Vocabulinarum. \r\n"
    "Вероятно были удаленны системные файлы. \r\n"
    "Переустановите программу. \r\n"
    "\r\n"
    "Если вы пытались создать ярлык на рабочем столе, перетаскиванием мыши exe-файла программы, \r\n"
    "то удалите файл с рабочего стола, который вы перетащили. \r\n"
    "Ярлык создается так. Щелчок правой кнопкой мыши по программе - отправить - Рабочий стол.");

// The maker's news page, opened at start when [options]BrowserLoad is 2.
inline const QString NewsPageUrl = QStringLiteral("https://vocabulinarum.example.org/news.htm");

} // namespace vocab::texts
