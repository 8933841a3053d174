// The page builders and the item builders.

#include "main_f/form1.h"

namespace kavlo {

void TForm1::SetDemosPage() {}
void TForm1::SetAddonsPage() {}
void TForm1::SetFullsPage() {}
void TForm1::SetExtra2Page() {}
void TForm1::SetExtra3Page() {}
void TForm1::SetSharewarePage() {}
void TForm1::SetServicePage() {}
void TForm1::SetUpdatesPage() {}
void TForm1::SetDriversPage() {}
void TForm1::SetReadersPage() {}
void TForm1::SetExtraPage() {}
void TForm1::SetHotShotsPage() {}
void TForm1::SetFilmsPage() {}
void TForm1::SetDovudizPage() {}
void TForm1::SetInstalledPage() {}
void TForm1::SetDemos() {}
void TForm1::SetAddons() {}
void TForm1::SetFulls() {}
void TForm1::SetExtra2() {}
void TForm1::SetExtra3() {}
void TForm1::SetShare() {}
void TForm1::SetService() {}
void TForm1::SetUpdates() {}
void TForm1::SetDrivers() {}
void TForm1::SetReaders() {}
void TForm1::SetExtra() {}
void TForm1::SetShots() {}
void TForm1::SetFilms() {}
void TForm1::SetInstalled() {}

} // namespace kavlo
