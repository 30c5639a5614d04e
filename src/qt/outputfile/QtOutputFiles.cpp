#include "qt/outputfile/QtOutputFiles.h"

#include "qt/outputfile/frmOutputFileCreated.h"

namespace trawlit {

void QtOutputFiles::ShowModal(const OutputFileRequest& request)
{
    // Loaded anew for every results file: every way of closing it unloads it.
    frmOutputFileCreated dialog(request, files_, platform_, actions_, parent_);
    dialog.exec();
}

} // namespace trawlit
