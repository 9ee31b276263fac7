#pragma once
// The main window: a catalogue of controls on one tabbed page set. Behaviour
// lives in the components the Station wires to these controls.

#include "windows/station_window.h"

#include <QColor>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QRadioButton;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTextEdit;
class QTimer;

namespace quorel {

class InputEdit;
class SmoothPicture;

// The screen part keeps its children's geometry itself (the record control is
// laid over it or parked below it).
class ScreenPanel : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent*) override { emit resized(); }
};

class TMainConsole : public StationWindow {
    Q_OBJECT
public:
    explicit TMainConsole(QWidget* parent = nullptr);

    // Page set.
    QTabWidget* PageControl1;
    QWidget *TabSheet1, *TabSheet5, *partner, *TabSheet2, *TabSheet3, *TabSheet6, *TabSheet11,
        *TabSheet7, *TabSheet4;

    // "Screen & Input ".
    ScreenPanel* Panel6;
    SmoothPicture* Image1;
    SmoothPicture* Image2;
    QPlainTextEdit* RichEdit2;
    QWidget* Panel1;
    QPushButton *Button13, *Button12, *Button14;
    QTextEdit* RichEdit27;
    InputEdit* RichEdit1;
    QFrame *Panel22, *Panel23, *Splitter1, *Splitter2;
    QLineEdit* Edit77;

    // "Display 1".
    QCheckBox* CheckBox67;
    QPushButton* Button9;
    QLineEdit *Edit8, *Edit12;
    QCheckBox *CheckBox8, *CheckBox50;
    QLineEdit *Edit6, *Edit96;

    // Persons, fonts and colours, desktop cover ("Display 1").
    QPushButton *Button17, *Button15, *Button16; // "Two Persons", "One Person", "For Display"
    QPushButton *Button1, *Button2;              // screen part font, background colour
    QPushButton* Button18;                       // "Match": the partner's sizes
    QPushButton *Button3, *Button4;              // monitor and input part font, background
    QCheckBox* CheckBox9;                        // cover by a single colour
    QPushButton* Button8;                        // cover colour
    QColor coverColor = Qt::black;

    // "Display 2".
    QLineEdit *Edit9, *Edit11, *Edit43, *Edit44;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox68; // the mouse cursor disappears by clicks

    // "Input 1" / "Input 2".
    QLineEdit* Edit31;
    QCheckBox* CheckBox53;
    QCheckBox *CheckBox11, *CheckBox35, *CheckBox36, *CheckBox47; // undo options
    QLineEdit *Edit66, *Edit68; // what the monitor part shows when the partner clears

    // Input aids ("Input 1"; the conversion colours on "Input 2").
    QPushButton* Button52;      // shows the F-key memo
    QCheckBox* CheckBox13;      // F12: a blank line after the sentence too
    QCheckBox* CheckBox52;      // F7 is the correction key
    QLineEdit *Edit94, *Edit95; // around the F7 selection
    QCheckBox* CheckBox43;      // F8 brackets
    QLineEdit *Edit78, *Edit79; // F8 brackets
    QLineEdit *Edit5, *Edit7;   // Shift+F8 brackets
    QLineEdit* Edit16;          // time limit, seconds (UpDown3)
    QCheckBox *CheckBox15, *CheckBox23;
    QLineEdit* Edit21; // length limit, bytes (UpDown5)
    QCheckBox *CheckBox51, *CheckBox54;
    QCheckBox* CheckBox61; // send at punctuation (hidden)
    QCheckBox *CheckBox44, *CheckBox45, *CheckBox62;
    QLineEdit* Edit24;                // characters per minute that warn (UpDown6)
    QPushButton *Button27, *Button34; // conversion colours

    // Monitor and undo display ("Display 2").
    QCheckBox *CheckBox55, *CheckBox56, *CheckBox57, *CheckBox40;

    // "8-Person Monitor" ("Auxiliary").
    QPushButton* Button45;
    QCheckBox *CheckBox12, *CheckBox14, *CheckBox49;
    QLineEdit* Edit20;     // lines per row
    QPushButton* Button86; // "Display Chat Window"
    QPushButton* Button23; // "Display Confirm & Cprrect Palette"
    QPushButton* Button35; // "Monitor" (the palette monitor)
    // "Pre-roll" ("Auxiliary").
    QPushButton* ButtonPreroll; // "Pre-roll Template"
    QPushButton* Button10;      // "Sub Input W"
    QCheckBox* CheckBox10;      // the pre-roll window always in front
    QPushButton* Button6;       // "Pre-roll Template Monitor"
    QCheckBox* CheckBox48;      // twice the lines in the pre-roll monitor

    // "Information (Telop)" ("Auxiliary").
    QPushButton* Button97; // "Display Telop"
    QCheckBox* CheckBox16; // twin of the information window's "Do not receive  Telop."

    // "Partner" / "Auxiliary".
    QCheckBox* CheckBox22;
    QLabel* Label22;
    QCheckBox* CheckBox21;
    // "Member List of Group": per slot the companion box, name, address and
    // the two partner buttons (objectNames CheckBox1, Edit36, Edit3, Button22,
    // Button26 ... as the slots are numbered).
    std::array<QCheckBox*, 8> memberCompanion;
    std::array<QLineEdit*, 8> memberName;
    std::array<QLineEdit*, 8> memberAddress;
    std::array<QPushButton*, 8> memberPartner;   // "Partner"
    std::array<QPushButton*, 8> memberBePartner; // "Be Partner !"
    std::array<QRadioButton*, 7> groupButtons;   // RadioButton6 ... RadioButton12
    QComboBox* ComboBox1;
    QCheckBox *CheckBox6, *CheckBox7;
    QPushButton *Button47, *Button53;

    // "Your PC".
    QLineEdit *Edit35, *Edit30;
    QListWidget* ListBox2;
    QPushButton *Button39, *Button36, *Button38;
    // The group the "Partner" page never shows: channel, same-PC display
    // copies, remote networks, link encryption.
    QGroupBox* hiddenNetworkGroup;
    QComboBox* ComboBox2;
    QCheckBox *CheckBox60, *CheckBox71, *CheckBox72, *CheckBox42;
    QLineEdit *Edit98, *Edit99, *Edit100, *Edit1;

    // "Save": settings files.
    QPushButton *Button21, *Button20, *Button66, *Button67;
    QLabel* Label67;     // the file last saved or loaded
    QLabel* LabelFolder; // where settings files and logs are kept
    // "Save": the display record's logs and its periodic clearing.
    QPushButton* Button7;       // save the record with a dialog
    QLabel* Label5;             // the log last saved with Button7
    QCheckBox* CheckBox39;      // save at each clearing and at exit
    QLineEdit *Edit92, *Edit91; // minutes between checks, line threshold
    QLineEdit* Edit4;           // size threshold in KByte
    // "Save": the record with the times of its lines as .txt, .srt and .vtt.
    QPushButton* ButtonTranscript;

    // "Readme": the explanation page, with at most kExplanationLines lines.
    static constexpr int kExplanationLines = 2000;
    QTextEdit* RichEdit3;
    QPushButton* Button11; // saves the explanation page
    QLineEdit* Edit10;

    // Reading insertion (F1), on "Input 2" but never shown: bracket mode,
    // its brackets, ruby mode and the form of the reading.
    QGroupBox* readingGroup;
    QCheckBox *CheckBox58, *CheckBox59;
    QLineEdit *Edit22, *Edit23;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3;
    // "Auxiliary": receive and apply ruby messages.
    QCheckBox* CheckBox46;
    // "Auxiliary": the audience view (the captions served to browsers).
    QCheckBox* CheckBoxAudience;
    QLineEdit* EditAudiencePort;
    QLabel* LabelAudience;   // the page's address, or why it is not served
    QLabel* LabelAudienceQr; // the address as a QR code

    // Options no page shows; settings files and remote settings set them.
    QWidget* hiddenOptions;
    QCheckBox *CheckBox19, *CheckBox24, *CheckBox41, *CheckBox37, *CheckBox85;

    QTimer* Timer1; // smooth screen
    QTimer* Timer2; // start-up, once
    QTimer* Timer3; // the input time limit
    QTimer* Timer4; // clears the monitor part
    QTimer* Timer5; // the periodic log check
    QTimer* Timer7; // per-minute statistics

    // The input part's colour as the user chose it; warnings paint over it and
    // restore it.
    QColor inputBackground = Qt::white;

    // Persons mode: 2 two persons, 1 one person, 0 display only.
    int personsMode = 2;
    void layoutBottom(bool wordProcessorMode);
    // Height of one line of the input and monitor parts.
    int partLineHeight() const;

signals:
    void closing();
    void resized();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildScreenPage();
    void buildAuxiliaryPage();
    void buildPartnerPage();
    void buildMemberList();
    void buildDisplay1Page();
    void buildDisplay2Page();
    void buildInput1Page();
    void buildInput2Page();
    void buildSavePage();
    void buildReadmePage();
    void buildHiddenOptions();
    void buildInputAids();
    bool wordProcessorMode_ = false;
};

} // namespace quorel
