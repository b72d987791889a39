#include "app/Root.h"

Root::Root(QWidget* parent) : QWidget(parent) { ui.setupUi(this); }
