#include "backend/FullScreenSurface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace ml {

bool IsSoftwareRenderer(const std::string& renderer) {
    std::string lower = renderer;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (lower.find(name) != std::string::npos)
            return true;
    return false;
}

namespace {

// Whether the machine has a device OpenGL could render on: a card or render node of a kernel
// graphics driver, or the control node of NVIDIA's own driver. Without one, OpenGL can only
// render in software.
bool HasGraphicsDevice() {
    std::error_code error;
    for ([[maybe_unused]] const auto& node : std::filesystem::directory_iterator("/dev/dri", error))
        return true;
    return std::filesystem::exists("/dev/nvidiactl", error);
}

bool Forced() {
    const char* force = std::getenv("MIRRORLAKE_GL");
    return force && std::strcmp(force, "force") == 0;
}

} // namespace

// A native window drawn straight with its own context: no widget framebuffer in between and
// no composition of the form on top, so a frame costs its upload and one textured quad. Input
// passes through it to the form below, which handles the keys and the mouse.
class TGLSurfaceWindow : public QWindow, protected QOpenGLFunctions {
public:
    TGLSurfaceWindow() {
        setSurfaceType(QSurface::OpenGLSurface);
        setFlag(Qt::WindowTransparentForInput);
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSwapInterval(1); // vertical sync where the driver offers it
        format.setDepthBufferSize(0);
        format.setStencilBufferSize(0);
        setFormat(format);
    }
    ~TGLSurfaceWindow() override {
        if (!Context.isValid() || !Context.makeCurrent(this))
            return;
        if (Texture)
            glDeleteTextures(1, &Texture);
        if (Program)
            glDeleteProgram(Program);
        Context.doneCurrent();
    }

    // Creates the context; the renderer's name is left in Renderer.
    bool Start() {
        create();
        Context.setFormat(requestedFormat());
        if (!Context.create() || !Context.makeCurrent(this))
            return false;
        initializeOpenGLFunctions();
        const GLubyte* name = glGetString(GL_RENDERER);
        Renderer = name ? reinterpret_cast<const char*>(name) : "";
        return true;
    }

    // Builds the program and the texture. Kept apart from Start so that a show that will not
    // use the renderer does not have a software renderer compile shaders (which brings much
    // of its code into memory) for nothing.
    bool Prepare() {
        if (!Context.makeCurrent(this))
            return false;
        RowLength = !Context.isOpenGLES() || Context.format().majorVersion() >= 3;
        Program = BuildProgram();
        if (!Program)
            return false;
        glGenTextures(1, &Texture);
        glBindTexture(GL_TEXTURE_2D, Texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        return true;
    }

    // Sends the frame's pixels (all, or only the given parts) into the texture at once, so
    // that no reference to the caller's pixels is kept (the caller keeps drawing into them).
    // Returns the bytes sent.
    std::size_t Upload(const QImage& frame, const std::vector<QRect>* parts) {
        if (frame.isNull() || !Context.makeCurrent(this))
            return 0;
        glBindTexture(GL_TEXTURE_2D, Texture);
        // RGB32 is B,G,R,X in memory on little-endian machines; the shader swaps.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        const int width = frame.width();
        if (frame.size() != TextureSize) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, frame.height(), 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, frame.constBits());
            TextureSize = frame.size();
            return frame.sizeInBytes();
        }
        if (!parts) {
            SubImage(frame, frame.rect());
            return frame.sizeInBytes();
        }
        std::size_t bytes = 0;
        for (QRect part : *parts) {
            part &= frame.rect();
            if (part.isEmpty())
                continue;
            // Without a row length the texture takes whole rows only.
            if (!RowLength)
                part = QRect(0, part.top(), width, part.height());
            SubImage(frame, part);
            bytes += static_cast<std::size_t>(part.width()) * part.height() * 4;
        }
        return bytes;
    }

    void SetPlacement(const QRect& placement) { Placement = placement; }

    // Draws the texture into the back buffer; the screen shows it after Present.
    void Render() {
        if (!Context.makeCurrent(this))
            return;
        const qreal ratio = devicePixelRatio();
        const int height = static_cast<int>(this->height() * ratio);
        glViewport(0, 0, static_cast<int>(width() * ratio), height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (TextureSize.isEmpty() || Placement.isEmpty())
            return;
        // GL counts rows from the bottom.
        glViewport(static_cast<int>(Placement.x() * ratio),
                   height - static_cast<int>((Placement.y() + Placement.height()) * ratio),
                   static_cast<int>(Placement.width() * ratio),
                   static_cast<int>(Placement.height() * ratio));
        glBindTexture(GL_TEXTURE_2D, Texture);
        glUseProgram(Program);
        static const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
        const GLint position = glGetAttribLocation(Program, "position");
        glVertexAttribPointer(position, 2, GL_FLOAT, GL_FALSE, 0, corners);
        glEnableVertexAttribArray(position);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glDisableVertexAttribArray(position);
    }

    bool Present() {
        if (!isExposed())
            return false;
        Render();
        Context.swapBuffers(this);
        return true;
    }

    // What the screen shows, read back from a fresh drawing of the back buffer.
    QImage Read() {
        Render();
        const QSize size = this->size() * devicePixelRatio();
        QImage pixels(size, QImage::Format_RGBX8888);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.bits());
        return pixels.mirrored().convertToFormat(QImage::Format_RGB32);
    }

    std::string Renderer;

protected:
    void exposeEvent(QExposeEvent*) override {
        // A window uncovered or shown again gets the last frame at once.
        if (Texture)
            Present();
    }

private:
    void SubImage(const QImage& frame, const QRect& part) {
        const uchar* first = frame.constScanLine(part.top()) + part.left() * 4;
        if (RowLength)
            glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(frame.bytesPerLine() / 4));
        glTexSubImage2D(GL_TEXTURE_2D, 0, part.left(), part.top(), part.width(), part.height(),
                        GL_RGBA, GL_UNSIGNED_BYTE, first);
        if (RowLength)
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }

    GLuint Compile(GLenum kind, const char* source) {
        GLuint shader = glCreateShader(kind);
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        GLint ok = 0;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            glDeleteShader(shader);
            return 0;
        }
        return shader;
    }

    GLuint BuildProgram() {
        GLuint vertex = Compile(GL_VERTEX_SHADER, "attribute vec2 position;\n"
                                                  "varying vec2 uv;\n"
                                                  "void main() {\n"
                                                  "  uv = vec2(position.x * 0.5 + 0.5,\n"
                                                  "            0.5 - position.y * 0.5);\n"
                                                  "  gl_Position = vec4(position, 0.0, 1.0);\n"
                                                  "}\n");
        GLuint fragment = Compile(GL_FRAGMENT_SHADER, "#ifdef GL_ES\nprecision mediump float;\n"
                                                      "#endif\n"
                                                      "varying vec2 uv;\n"
                                                      "uniform sampler2D frame;\n"
                                                      "void main() {\n"
                                                      "  gl_FragColor = vec4(texture2D(frame, "
                                                      "uv).bgr, 1.0);\n"
                                                      "}\n");
        if (!vertex || !fragment)
            return 0;
        GLuint program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            glDeleteProgram(program);
            return 0;
        }
        return program;
    }

    QOpenGLContext Context;
    QSize TextureSize;
    QRect Placement;
    GLuint Texture = 0;
    GLuint Program = 0;
    bool RowLength = true;
};

namespace {

// For tests and benchmarks: MIRRORLAKE_GL_UPLOAD_LOG names a file that gets one line per
// frame with the bytes uploaded.
std::FILE* UploadLog() {
    static std::FILE* log = [] {
        const char* path = std::getenv("MIRRORLAKE_GL_UPLOAD_LOG");
        return path && *path ? std::fopen(path, "w") : nullptr;
    }();
    return log;
}

} // namespace

TFullScreenSurface::TFullScreenSurface(QWidget* parent) {
    auto window = std::make_unique<TGLSurfaceWindow>();
    Window = window.get();
    // The container owns the window from here; both go with the parent or with this surface.
    Container = QWidget::createWindowContainer(window.release(), parent);
    Container->setAttribute(Qt::WA_TransparentForMouseEvents); // the saver form handles input
    Container->setFocusPolicy(Qt::NoFocus);
    Container->hide();
}

TFullScreenSurface::~TFullScreenSurface() {
    delete Container;
}

void TFullScreenSurface::SetDisplay(int width, int height, int bitCount) {
    Width = width;
    Height = height;
    BitCount = bitCount;
}

bool TFullScreenSurface::Possible(std::string& reason) {
    reason.clear();
    const QString platform = QGuiApplication::platformName();
    // Without a display there is nothing to tell: no show is seen on these platforms.
    if (platform == "offscreen" || platform == "minimal")
        return false;
    // Asking a context which renderer it has costs a tenth of a second and brings the
    // software renderer's code into memory; without a device the answer is known.
    if (!Forced() && !HasGraphicsDevice()) {
        reason = "OpenGL renders in software here (no graphics device; MIRRORLAKE_GL=force "
                 "uses it anyway)";
        return false;
    }
    return true;
}

bool TFullScreenSurface::Initialize() {
    Ready = false;
    if (!Possible(Failure))
        return false;
    const bool forced = Forced();
    Container->setGeometry(0, 0, Width, Height);
    if (!Window->Start()) {
        Failure = "OpenGL is not available";
        return false;
    }
    if (IsSoftwareRenderer(Window->Renderer) && !forced) {
        Failure = "OpenGL renders in software here (" + Window->Renderer +
                  "; MIRRORLAKE_GL=force uses it anyway)";
        return false;
    }
    if (!Window->Prepare()) {
        Failure = "OpenGL is not available";
        return false;
    }
    Window->SetPlacement(QRect(0, 0, Width, Height));
    Container->show();
    Ready = true;
    return true;
}

void TFullScreenSurface::Draw(const TBitmap& bitmap, const QRect& placement,
                              const std::vector<QRect>* parts) {
    if (!Ready)
        return;
    Window->SetPlacement(placement);
    UploadBytes = Window->Upload(bitmap.ToImage(), parts);
    if (std::FILE* log = UploadLog()) {
        std::fprintf(log, "%zu\n", UploadBytes);
        std::fflush(log);
    }
}

bool TFullScreenSurface::Flip() {
    return Ready && Window->Present();
}

TBitmap TFullScreenSurface::BackSurface() const {
    // Read back only when asked (the crossfade's first step), never per frame.
    QImage shown = Window->Read();
    if (shown.size() != QSize(Width, Height))
        shown = shown.scaled(Width, Height);
    return TBitmap(shown);
}

} // namespace ml
