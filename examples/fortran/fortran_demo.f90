! A Fortran program on the toolkit: a window with a dialog whose fields give a label and
! a number of rings, the picture they describe drawn in the window and written as a
! PostScript file (fortran_demo.ps, or the file named by the first argument).
! Without a window system (or its resources) the dialog is left out and the defaults
! are drawn.
program fortran_demo
  use quill
  implicit none
  integer, parameter :: demo_dialog = 500, label_field = 501, rings_field = 502
  character(len=40) :: label
  character(len=260) :: file_name
  integer :: rings, ring, width, height, type
  type(EventRecord) :: event

  label = 'Rings'
  rings = 5
  file_name = 'fortran_demo.ps'
  if (command_argument_count() >= 1) call get_command_argument(1, file_name)

  call WStartup()
  call IErrorMode(0)
  width = 480
  height = 360
  call WindowOpen(flags=WinSystemMenu, width=width, height=height, title='Quillanthor from Fortran')
  call IErrorReset()
  call WDialogLoad(demo_dialog)
  if (IErrorCode() == 0) then
    call WDialogPutString(label_field, trim(label))
    call WDialogPutInteger(rings_field, rings)
    call WDialogShow(-1, -1, 0, 2)
    do
      call WEventGet(type, event)
      if (type == EvButton .and. event%window == demo_dialog) exit
    end do
    call WDialogGetString(label_field, label)
    call WDialogGetInteger(rings_field, rings)
    call WDialogUnload()
  end if
  call IErrorReset()
  rings = max(1, min(rings, 20))
  print '(a, a, a, i0)', 'label ', trim(label), ', rings ', rings

  call draw()
  call IGrHardCopySelect(2)
  call IGrHardCopy('S', trim(file_name), 'Fortran demo')
  call draw()
  call IGrHardCopy('E')
  if (IErrorCode() /= 0) then
    print '(a, i0)', 'hardcopy failed: error ', IErrorCode()
    stop 1
  end if
  print '(a, a)', 'wrote ', trim(file_name)
  call WindowShutdown()

contains

  subroutine draw()
    call IGrUnits(0.0, 0.0, 100.0, 100.0)
    call IGrFillPattern(0)
    call IGrLineWidth(10)
    do ring = 1, rings
      call IGrColourN(mod(ring * 40, 256) + 256 * mod(ring * 90, 256))
      call IGrCircle(50.0, 50.0, 40.0 * real(ring) / real(rings))
    end do
    call IGrColour('black')
    call IGrCharFont(2, 1)
    call IGrCharSize(4.0, 6.0)
    call IGrCharJustify(1)
    call IGrCharOut(50.0, 3.0, trim(label))
  end subroutine draw

end program fortran_demo
