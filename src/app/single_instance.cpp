#include "single_instance.h"

#include <QDir>
#include <stdexcept>

void SingleInstance::refuse(int systemError) const {
    throw std::runtime_error(
        QStringLiteral("%1 파일을 잠글 수 없어 출력하지 않습니다: %2")
            .arg(QDir::toNativeSeparators(lockFilePath_), qt_error_string(systemError))
            .toStdString());
}
