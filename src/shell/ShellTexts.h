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

// The maker's pages and address, opened from the help menu and the about box.
inline const QString SiteUrl = QStringLiteral("https://vocabulinarum.example.org/");
inline const QString SiteCaption = QStringLiteral("vocabulinarum.example.org");
inline const QString DictionariesPageUrl = QStringLiteral("https://vocabulinarum.example.org/dictionaries.htm");
inline const QString MailAddress = QStringLiteral("info@vocabulinarum.example.org");

// Help and links that no program could be found for; the path or address follows.
inline const QString HelpFileMissing = QStringLiteral("Файл справки не найден:\r\n");
inline const QString HelpFileNotOpened = QStringLiteral("Не удалось открыть файл справки: не найдена программа для его просмотра.\r\n");
inline const QString LinkNotOpened = QStringLiteral("Не удалось открыть ссылку: не найдена программа для неё.\r\n");

// Shown in the article view in place of an article that the dictionary's
// article file does not hold: the file ends before its headword list does.
// %1 is the dictionary's name, %2 the article file.
inline const QString DamagedArticleFile = QStringLiteral(
    "Файл статей словаря \"%1\" повреждён: он короче списка слов, и статьи этого слова в нём нет. Файл: %2");

} // namespace vocab::texts
