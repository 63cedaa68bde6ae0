#include "backend/FullScreenSurface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <QSurfaceFormat>

namespace ml {

// Uploads the latest frame into one texture and draws it as a quad covering the viewport,
// so the GPU does the stretching. Fixed-function-free: a tiny shader pair.
class TGLSurfaceWidget : public QOpenGLWidget, protected QOpenGLFunctions {
public:
    explicit TGLSurfaceWidget(QWidget* parent) : QOpenGLWidget(parent) {
        QSurfaceFormat format = QSurfaceFormat::defaultFormat();
        format.setSwapInterval(1); // vertical sync
        setFormat(format);
        setAttribute(Qt::WA_TransparentForMouseEvents); // the saver form handles input
        setFocusPolicy(Qt::NoFocus);
    }
    ~TGLSurfaceWidget() override {
        if (!context())
            return;
        makeCurrent();
        if (Texture)
            glDeleteTextures(1, &Texture);
        if (Program)
            glDeleteProgram(Program);
        doneCurrent();
    }

    bool Usable() const { return Started && context() && context()->isValid(); }

    // Uploads a frame at once, so that no reference to the caller's pixels is kept (the
    // caller keeps drawing into them).
    void Upload(const QImage& frame) {
        if (!Usable() || frame.isNull())
            return;
        makeCurrent();
        glBindTexture(GL_TEXTURE_2D, Texture);
        // RGB32 is B,G,R,X in memory on little-endian machines; the shader swaps.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        if (frame.size() != TextureSize) {
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, frame.width(), frame.height(), 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, frame.constBits());
            TextureSize = frame.size();
        } else {
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, frame.width(), frame.height(), GL_RGBA,
                            GL_UNSIGNED_BYTE, frame.constBits());
        }
        doneCurrent();
    }

protected:
    void initializeGL() override {
        initializeOpenGLFunctions();
        Program = BuildProgram();
        glGenTextures(1, &Texture);
        glBindTexture(GL_TEXTURE_2D, Texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        Started = Program != 0;
    }

    void paintGL() override {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (TextureSize.isEmpty() || !Program)
            return;
        glBindTexture(GL_TEXTURE_2D, Texture);
        glUseProgram(Program);
        static const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
        GLint position = glGetAttribLocation(Program, "position");
        glVertexAttribPointer(position, 2, GL_FLOAT, GL_FALSE, 0, corners);
        glEnableVertexAttribArray(position);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glDisableVertexAttribArray(position);
    }

private:
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

    QSize TextureSize;
    bool Started = false;
    GLuint Texture = 0;
    GLuint Program = 0;
};

TFullScreenSurface::TFullScreenSurface(QWidget* parent)
    : Surface(std::make_unique<TGLSurfaceWidget>(parent)) {
    Surface->hide();
}

TFullScreenSurface::~TFullScreenSurface() = default;

void TFullScreenSurface::SetDisplay(int width, int height, int bitCount) {
    Width = width;
    Height = height;
    BitCount = bitCount;
}

bool TFullScreenSurface::Initialize() {
    Ready = false;
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return false;
    Surface->setGeometry(0, 0, Width, Height);
    Surface->show();
    // Showing the widget creates its context and runs initializeGL.
    Surface->repaint();
    Ready = Surface->Usable();
    if (!Ready)
        Surface->hide();
    return Ready;
}

bool TFullScreenSurface::CanDraw() const {
    return Ready && Surface->isVisible();
}

void TFullScreenSurface::Draw(const TBitmap& bitmap) {
    if (!Ready)
        return;
    Surface->Upload(bitmap.ToImage());
}

void TFullScreenSurface::Flip() {
    if (Ready)
        Surface->repaint();
}

TBitmap TFullScreenSurface::BackSurface() const {
    // Read back only when asked (the crossfade's first step), never per frame.
    QImage shown = Surface->grabFramebuffer();
    if (shown.size() != QSize(Width, Height))
        shown = shown.scaled(Width, Height);
    return TBitmap(shown);
}

QWidget* TFullScreenSurface::Widget() const {
    return Surface.get();
}

} // namespace ml
