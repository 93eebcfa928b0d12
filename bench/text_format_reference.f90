! gfortran's internal WRITE, called from bench/text_format_bench.cpp so that one run
! times the toolkit's formatter, its C++ peers and the Fortran runtime on the same
! values. Each routine writes every value with one fixed format into a scalar text;
! with copy /= 0 it also stores the records (16 characters each) for comparison.
module text_format_reference
  use iso_c_binding
  implicit none
  integer, parameter :: record_length = 16

contains

  ! which: 0 (F16.3), 1 (G15.5E2), 2 (E15.7). Returns a checksum of last characters.
  function fortran_write_reals(values, n, which, copy, records) result(checksum) &
      bind(C, name='fortran_write_reals')
    integer(c_int), value :: n, which, copy
    real(c_double), intent(in) :: values(n)
    character(kind=c_char), intent(inout) :: records(*)
    integer(c_long_long) :: checksum
    character(len=record_length) :: text
    integer :: i

    checksum = 0
    text = ' '
    do i = 1, n
      select case (which)
      case (0)
        write (text(1:16), '(F16.3)') values(i)
      case (1)
        write (text(1:15), '(G15.5E2)') values(i)
      case default
        write (text(1:15), '(E15.7)') values(i)
      end select
      checksum = checksum + ichar(text(15:15))
      if (copy /= 0) call store(text, i, records)
    end do
  end function fortran_write_reals

  function fortran_write_integers(values, n, copy, records) result(checksum) &
      bind(C, name='fortran_write_integers')
    integer(c_int), value :: n, copy
    integer(c_int), intent(in) :: values(n)
    character(kind=c_char), intent(inout) :: records(*)
    integer(c_long_long) :: checksum
    character(len=record_length) :: text
    integer :: i

    checksum = 0
    text = ' '
    do i = 1, n
      write (text(1:11), '(I11)') values(i)
      checksum = checksum + ichar(text(11:11))
      if (copy /= 0) call store(text, i, records)
    end do
  end function fortran_write_integers

  subroutine store(text, i, records)
    character(len=record_length), intent(in) :: text
    integer, intent(in) :: i
    character(kind=c_char), intent(inout) :: records(*)
    integer :: k

    do k = 1, record_length
      records((i - 1) * record_length + k) = text(k:k)
    end do
  end subroutine store

end module text_format_reference
