! The Fortran module: character lengths passed through, blank-padded results, OPTIONAL
! arguments left out, arrays of texts, logical answers, the event record's size and a
! PostScript file. Stops with code 1 after printing each failed check.
program fortran_test
  use quill
  use, intrinsic :: iso_c_binding, only: c_sizeof
  implicit none
  integer :: failures = 0, value, option
  double precision :: number
  character(len=10) :: text
  character(len=6) :: colours(3) = [character(len=6) :: 'red', 'green', 'blue']
  type(EventRecord) :: event

  call WStartup()
  call IErrorMode(0)
  call IntegerToString(-42, text, '(I5)')
  call expect(text == '  -42', 'IntegerToString gives "  -42" blank-padded')
  call IStringToReal8('2.5e3', number)
  call expect(number == 2500d0, 'IStringToReal8 reads 2.5e3')
  call expect(IFirstNonBlank('   x') == 4, 'IFirstNonBlank counts from 1')

  call WGridMemory(1)
  call WGridColumns(0, 2, [4, 11])
  call WGridRows(0, 1)
  call WGridPutOptions(0, 2, colours, 3)
  call WGridPutCellOption(0, 2, 1, 3)
  call WGridGetCellString(0, 2, 1, text)
  call WGridGetCellOption(0, 2, 1, option)
  call expect(text == 'blue' .and. option == 3, 'an option menu cell from a Fortran text array')
  call WGridRangeInteger(0, 1, high=5)
  call expect(IErrorCode() /= 0, 'WGridRangeInteger with one OPTIONAL bound reaches the grid')
  call IErrorReset()
  call WGridSave(0, 'fortran_test.csv', options=2)
  call expect(IOsExists('fortran_test.csv'), 'IOsExists answers .true. for the saved grid')
  call expect(.not. IOsExists('no such file'), 'IOsExists answers .false.')
  call WGridMemory(0)
  call WGridGetRows(0, value)
  call expect(IErrorCode() == 1006, 'the freed grid is gone')
  call IErrorReset()

  call expect(c_sizeof(event) == 64, 'the event record is sixteen words')

  call IGrHardCopySelect(2)
  call IGrHardCopy('S', 'fortran_test.ps')
  call IGrCircle(0.5, 0.5, 0.25)
  call IGrCharOut(0.1, 0.1, 'from Fortran')
  call IGrHardCopy('E')
  call expect(IErrorCode() == 0 .and. IOsExists('fortran_test.ps'), 'a PostScript file written')

  print '(i0, a)', failures, ' failed checks'
  if (failures /= 0) stop 1

contains

  subroutine expect(condition, what)
    logical, intent(in) :: condition
    character(len=*), intent(in) :: what
    if (.not. condition) then
      print '(2a)', 'failed: ', what
      failures = failures + 1
    end if
  end subroutine expect

end program fortran_test
