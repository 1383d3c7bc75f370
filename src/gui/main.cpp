// kavelide: creates the application and its main window.

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel placeholder("Kavel: the main window arrives with the next version.");
  placeholder.resize(480, 120);
  placeholder.show();
  return app.exec();
}
