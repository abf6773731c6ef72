#include "platform/WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <unistd.h>

// Exported by Qt GUI for the web engine, which looks for this context when it loads.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
Q_GUI_EXPORT QOpenGLContext *qt_gl_global_share_context();
QT_END_NAMESPACE

namespace platform {

namespace {

const QString kPluginFile = QStringLiteral("libpandrel_webview.so");

QString &pluginFolderOverride()
{
    static QString folder;
    return folder;
}

// Beside the program in a build or a portable folder; under lib/pandrel when installed.
QStringList pluginCandidates()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    QStringList candidates;
    if (!pluginFolderOverride().isEmpty())
        candidates.append(QDir(pluginFolderOverride()).filePath(kPluginFile));
    candidates.append(programFolder.filePath(QStringLiteral("plugins/") + kPluginFile));
    candidates.append(programFolder.filePath(QStringLiteral("../lib/pandrel/") + kPluginFile));
    return candidates;
}

// The engine draws through OpenGL and shares its textures with the windows' contexts through
// one global context. Qt makes that context with the application object when asked to, which
// loads the whole OpenGL driver into a program that may never show a web page; so it is made
// here, just before the engine loads, and before any window has an OpenGL context of its own.
void shareOpenGLContexts()
{
    if (qt_gl_global_share_context())
        return;
    // Set even when it cannot be created (no OpenGL, offscreen): the engine then draws in
    // software, but it asks this context for its format either way.
    auto *context = new QOpenGLContext(qApp);
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

} // namespace

WebViewFactory *webViewFactory(QString *error)
{
    // Loaded once: a plugin's library stays for the life of the process anyway.
    static WebViewFactory *factory = nullptr;
    static QString loadError;
    static bool tried = false;
    if (!tried) {
        tried = true;
        shareOpenGLContexts();
        // Chromium inside the engine will not start its sandbox for the administrator, and
        // that takes the whole program down at the first web page. Run as root (a fresh
        // machine set up as root, a test machine), web pages run without the sandbox instead.
        if (::geteuid() == 0)
            qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        for (const QString &candidate : pluginCandidates()) {
            if (!QFile::exists(candidate))
                continue;
            QPluginLoader loader(candidate);
            factory = qobject_cast<WebViewFactory *>(loader.instance());
            if (factory)
                break;
            loadError = loader.errorString();
        }
        if (!factory && loadError.isEmpty())
            loadError = QStringLiteral("%1 not found").arg(kPluginFile);
    }
    if (error)
        *error = loadError;
    return factory;
}

void setWebViewPluginFolder(const QString &folder)
{
    pluginFolderOverride() = folder;
}

} // namespace platform
