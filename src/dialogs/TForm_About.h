#pragma once

#include "gui/ProductInfo.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace kt41::dialogs {

// "О программе...": the program's name, version and release date and the
// maker's web page and mail address, which open the browser or the mail
// program. Created once at start-up and shown modally by the About action.
class TForm_About : public QDialog {
    Q_OBJECT
public:
    static constexpr int kModalResultOk = 1;

    using VersionSource = std::function<std::optional<gui::ProgramVersion>()>;

    // version: where the version is read (the one compiled in); programFile:
    // the file whose last-write time is the release date (the running program).
    explicit TForm_About(QWidget* parent = nullptr, VersionSource version = gui::CompiledVersion,
                         QString programFile = {});

    void FormCreate();
    void FormShow();
    void Button1Click();
    void Label_URLClick();
    void Label_MailClick();
    void reject() override; // Esc answers as "OK" does

    // The numbers of the last version read; 0 without a version.
    int Major() const { return major_; }
    int Minor() const { return minor_; }
    int Release() const { return release_; }

    // "05.03.2024" from the file's last-write time in local time; empty when
    // the file has none.
    static QString ReleaseDateText(const QString& programFile);

    QLabel* Image1 = nullptr; // the logo
    QLabel* Label_Title = nullptr;
    QLabel* StaticText_VerNumb = nullptr;
    QLabel* StaticText_DataRelease = nullptr;
    QLabel* Label_Maker = nullptr;
    QLabel* Label_URL = nullptr;
    QLabel* Label_Mail = nullptr;
    QPushButton* Button1 = nullptr; // "OK"

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ReadVersion();

    VersionSource versionSource_;
    QString programFile_;
    QString homePage_;
    QString mail_;
    int major_ = 0;
    int minor_ = 0;
    int release_ = 0;
};

} // namespace kt41::dialogs
