#pragma once
#include <QApplication>

namespace quorel {

class Messages;

// The program's application object: an error escaping any event handler is
// shown in a message box, and the loop goes on with the next event. A captioning
// station must never die in the middle of a lecture because of one bad input.
class QuorelApplication : public QApplication {
public:
    QuorelApplication(int& argc, char** argv);
    void setMessages(Messages* m) { messages_ = m; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Messages* messages_ = nullptr;
    bool reporting_ = false;
};

} // namespace quorel
