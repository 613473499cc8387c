# Common build settings: every target of the project links zorvane_build_settings.
option(ZORVANE_WERROR "Treat compiler warnings as errors" OFF)
option(ZORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ZORVANE_FUZZ "Build the libFuzzer targets (clang; implies ZORVANE_SANITIZE)" OFF)
option(ZORVANE_TSAN "Build with ThreadSanitizer (clang)" OFF)
option(ZORVANE_LOGIC_ONLY "Build only the logic library, the command-line tool and the logic tests" OFF)

add_library(zorvane_build_settings INTERFACE)
target_compile_features(zorvane_build_settings INTERFACE cxx_std_20)
target_compile_options(zorvane_build_settings INTERFACE -Wall -Wextra)
target_compile_definitions(zorvane_build_settings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS
    QT_DISABLE_DEPRECATED_BEFORE=0x060000
    QT_DISABLE_DEPRECATED_UP_TO=0x060000)

if(ZORVANE_WERROR)
    target_compile_options(zorvane_build_settings INTERFACE -Werror)
endif()

if(ZORVANE_FUZZ)
    set(ZORVANE_SANITIZE ON)
    # Coverage for the fuzzers in everything they drive.
    target_compile_options(zorvane_build_settings INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(ZORVANE_SANITIZE)
    target_compile_options(zorvane_build_settings INTERFACE
        -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_link_options(zorvane_build_settings INTERFACE
        -fsanitize=address,undefined,float-cast-overflow)
endif()

if(ZORVANE_TSAN)
    target_compile_options(zorvane_build_settings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(zorvane_build_settings INTERFACE -fsanitize=thread)
endif()

# Qt's headers, and the standard ones that go with them, compiled once per target rather than
# once per file: the targets of many files build in far less time.
option(ZORVANE_PCH "Precompile the Qt headers" ON)
function(zorvane_precompile target)
    if(ZORVANE_PCH)
        target_precompile_headers(${target} PRIVATE
            <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QObject>
            <QRegularExpression> <QString> <QStringList> <QVariant>
            <algorithm> <functional> <memory> <optional> ${ARGN})
    endif()
endfunction()
set(ZORVANE_PCH_WIDGETS <QAction> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QHBoxLayout>
    <QLabel> <QPushButton> <QTimer> <QVBoxLayout> <QWidget>)
