#pragma once

// The help viewer over a Qt Help collection. The program loads it from a
// module of its own at the first help command (see LazyHelp), so that Qt Help
// and its database are not loaded at every start.
//
// How the help content is laid out, for whoever writes it:
//  - The collection is <dataDirectory()>/help/vespintide.qhc, with the
//    compressed help file it registers (vespintide.qch) beside it. Both are
//    built by qhelpgenerator from a .qhcp and a .qhp.
//  - The .qhp uses the namespace "org.vespintide.help" and the virtual
//    folder "doc", so every page is qthelp://org.vespintide.help/doc/<page>.
//  - index.html is the contents page. It is also what a topic number without
//    a page of its own shows, so it must exist: a collection without it is
//    reported as a help file that cannot be opened.
//  - Topic N, as the program asks for it, is the page topicN.html
//    (topic3.html for topic 3). A topic shown as a pop-up uses the same page;
//    keep those pages short, simple HTML, since the pop-up is at most 300
//    pixels wide and shows no images.
//  - usinghelp.html explains the help window itself.
//  - The .qhp's table of contents fills the Contents tab and its keywords
//    fill the Index tab; the Search tab indexes every listed file.

#include "Services.h"

#include <QString>

#include <memory>

class QHelpEngine;
class QTemporaryDir;
class QUrl;

namespace vespin {

class HelpWindow;
class HelpPopup;

class HelpViewer final : public HelpService {
public:
    // collectionFile: the .qhc to show.
    HelpViewer(ModalRunner &modal, QString collectionFile);
    ~HelpViewer() override;

    HelpViewer(const HelpViewer &) = delete;
    HelpViewer &operator=(const HelpViewer &) = delete;

    // Every help file the program names is this one collection, so file is
    // not looked at.
    void command(const QString &file, HelpCommand command, int topic = 0, QPoint popupAt = {}) override;

    static QUrl contentsPage();
    static QUrl usingHelpPage();
    static QUrl topicPage(int topic);

private:
    bool openCollection();
    QUrl existingPageOr(const QUrl &page, const QUrl &fallback) const;
    HelpWindow &window();
    void showPopup(int topic, QPoint at);

    ModalRunner &m_modal;
    QString m_collectionFile;
    // Declared before the widgets so that they, which use its models, go first.
    std::unique_ptr<QTemporaryDir> m_workDir;
    std::unique_ptr<QHelpEngine> m_engine;
    std::unique_ptr<HelpWindow> m_window;
    std::unique_ptr<HelpPopup> m_popup;
};

} // namespace vespin

// The module's entry point, resolved by name; the caller owns the viewer.
extern "C" Q_DECL_EXPORT vespin::HelpService *vespinCreateHelpViewer(vespin::ModalRunner &modal,
                                                                     const QString &collectionFile);
