#pragma once
// OpenGL for the runtime: the 1.1 API from the system header, and every entry point past 1.1
// looked up at run time. A missing entry point stays null and its feature is off.
#define GL_GLEXT_PROTOTYPES 0
#include <GL/gl.h>
#include <GL/glext.h>

struct GlExtensions {
    // multitexture
    bool multitexture = false;
    PFNGLACTIVETEXTUREARBPROC ActiveTexture = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC MultiTexCoord2f = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC ClientActiveTexture = nullptr;
    // buffer objects (only looked up when multitexture is present)
    bool buffers = false;
    PFNGLGENBUFFERSARBPROC GenBuffers = nullptr;
    PFNGLBINDBUFFERARBPROC BindBuffer = nullptr;
    PFNGLBUFFERDATAARBPROC BufferData = nullptr;
    PFNGLBUFFERSUBDATAARBPROC BufferSubData = nullptr;
    PFNGLDELETEBUFFERSARBPROC DeleteBuffers = nullptr;
    PFNGLMAPBUFFERARBPROC MapBuffer = nullptr;
    PFNGLUNMAPBUFFERARBPROC UnmapBuffer = nullptr;
    // framebuffer objects: the 800 x 600 game screen
    bool framebuffers = false;
    PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC FramebufferTexture2D = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
    PFNGLBLITFRAMEBUFFERPROC BlitFramebuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEMULTISAMPLEPROC RenderbufferStorageMultisample = nullptr; // may be null
};

// Filled by platform::open_window once the context exists.
extern GlExtensions gl_ext;

// Looks up every extension entry point for the current context (called by open_window).
void load_gl_extensions();
