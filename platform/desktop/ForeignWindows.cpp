#include "platform/desktop/ForeignWindows.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <array>
#include <cstdlib>
#include <cstring>

#if __has_include(<xcb/xcb.h>) && QT_CONFIG(xcb)
#include <xcb/xcb.h>
#define TALVEX_HAVE_XCB 1
#endif

namespace platform {

namespace {

// Where nothing can be listed or adopted.
class NoForeignWindows final : public ForeignWindows {
public:
    bool CanList() const override { return false; }
    QList<ForeignWindow> TopLevelWindows() const override { return {}; }
    void Activate(quint64) override {}
    bool CanAdopt() const override { return false; }
    QWidget* Adopt(quint64) override { return nullptr; }
    bool Exists(quint64) const override { return false; }
};

#ifdef TALVEX_HAVE_XCB

class X11Windows final : public ForeignWindows {
public:
    explicit X11Windows(xcb_connection_t* connection) : c_(connection)
    {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        root_ = xcb_setup_roots_iterator(setup).data->root;
        clientList_ = Atom("_NET_CLIENT_LIST");
        netWmName_ = Atom("_NET_WM_NAME");
        netWmPid_ = Atom("_NET_WM_PID");
        utf8_ = Atom("UTF8_STRING");
        netActive_ = Atom("_NET_ACTIVE_WINDOW");
    }

    bool CanList() const override { return true; }

    QList<ForeignWindow> TopLevelWindows() const override
    {
        QList<ForeignWindow> windows;
        for (const xcb_window_t id : Candidates()) {
            ForeignWindow w;
            w.id = id;
            w.title = Title(id);
            if (w.title.isEmpty())
                continue;
            w.processId = Pid(id);
            w.visible = Viewable(id);
            windows.append(w);
        }
        return windows;
    }

    void Activate(quint64 id) override
    {
        const xcb_window_t w = xcb_window_t(id);
        xcb_map_window(c_, w);  // a minimised (unmapped) window comes back
        SendRootMessage(w, netActive_, {1, XCB_CURRENT_TIME, 0});
        xcb_configure_window(c_, w, XCB_CONFIG_WINDOW_STACK_MODE,
                             std::array<uint32_t, 1>{XCB_STACK_MODE_ABOVE}.data());
        xcb_flush(c_);
    }

    bool CanAdopt() const override { return true; }

    QWidget* Adopt(quint64 id) override
    {
        if (!Exists(id))
            return nullptr;
        QWindow* foreign = QWindow::fromWinId(WId(id));
        if (foreign == nullptr)
            return nullptr;
        return QWidget::createWindowContainer(foreign);
    }

    bool Exists(quint64 id) const override
    {
        xcb_get_window_attributes_reply_t* reply =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, xcb_window_t(id)), nullptr);
        const bool exists = reply != nullptr;
        free(reply);
        return exists;
    }

private:
    xcb_atom_t Atom(const char* name) const
    {
        xcb_intern_atom_reply_t* reply =
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    QByteArray Property(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, uint32_t longs = 1024) const
    {
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, property, type, 0, longs), nullptr);
        QByteArray data;
        if (reply != nullptr && reply->type != XCB_ATOM_NONE)
            data = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                              xcb_get_property_value_length(reply));
        free(reply);
        return data;
    }

    QList<xcb_window_t> Children(xcb_window_t w) const
    {
        QList<xcb_window_t> children;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
        if (tree != nullptr) {
            const xcb_window_t* list = xcb_query_tree_children(tree);
            children = QList<xcb_window_t>(list, list + xcb_query_tree_children_length(tree));
        }
        free(tree);
        return children;
    }

    // The clients a window manager lists; without one, the root's children.
    QList<xcb_window_t> Candidates() const
    {
        const QByteArray clients = Property(root_, clientList_, XCB_ATOM_WINDOW, 65536);
        if (clients.isEmpty())
            return Children(root_);
        const auto* ids = reinterpret_cast<const xcb_window_t*>(clients.constData());
        return QList<xcb_window_t>(ids, ids + clients.size() / qsizetype(sizeof(xcb_window_t)));
    }

    QString Title(xcb_window_t w) const
    {
        const QByteArray name = Property(w, netWmName_, utf8_);
        if (!name.isEmpty())
            return QString::fromUtf8(name);
        return QString::fromLatin1(Property(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
    }

    qint64 Pid(xcb_window_t w) const
    {
        const QByteArray pid = Property(w, netWmPid_, XCB_ATOM_CARDINAL);
        return pid.size() >= 4 ? qint64(*reinterpret_cast<const uint32_t*>(pid.constData())) : 0;
    }

    bool Viewable(xcb_window_t w) const
    {
        xcb_get_window_attributes_reply_t* reply =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
        const bool viewable = reply != nullptr && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        free(reply);
        return viewable;
    }

    void SendRootMessage(xcb_window_t w, xcb_atom_t type, std::array<uint32_t, 3> data)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = type;
        for (size_t i = 0; i < data.size(); ++i)
            event.data.data32[i] = data[i];
        xcb_send_event(c_, 0, root_,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&event));
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    xcb_atom_t clientList_ = 0, netWmName_ = 0, netWmPid_ = 0, utf8_ = 0, netActive_ = 0;
};

#endif

ForeignWindows* Override = nullptr;

ForeignWindows& PlatformWindows()
{
#ifdef TALVEX_HAVE_XCB
    // A platform may say it is X11 and hold no X connection (the offscreen
    // one does): that desktop cannot list windows either.
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection != nullptr && xcb_connection_has_error(connection) == 0) {
        static X11Windows windows(connection);
        return windows;
    }
#endif
    static NoForeignWindows none;
    return none;
}

}  // namespace

ForeignWindows& Windows()
{
    return Override != nullptr ? *Override : PlatformWindows();
}

ForeignWindows* SetForeignWindows(ForeignWindows* windows)
{
    ForeignWindows* previous = Override;
    Override = windows;
    return previous;
}

quint64 FindProcessWindow(qint64 processId)
{
    if (processId <= 0)
        return 0;
    for (const ForeignWindow& w : Windows().TopLevelWindows())
        if (w.processId == processId && w.visible)
            return w.id;
    return 0;
}

}  // namespace platform
