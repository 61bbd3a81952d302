#include "desk/render/ShaderProgram.h"

namespace desk::render {

std::unique_ptr<QOpenGLShaderProgram> linkProgram(const char* vertexSource,
                                                  const char* fragmentSource) {
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertexSource) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentSource) ||
        !program->link())
        return nullptr;
    return program;
}

} // namespace desk::render
